#include "graphics/IEditorFactory.h"
#include "platform/win/IGraphicsWin.h"

IGraphics* MakeEditorGraphics(IPlugBase* plug, int width, int height, int fps, void* moduleHandle)
{
  return new IGraphicsWin(plug, width, height, fps, static_cast<HINSTANCE>(moduleHandle));
}
