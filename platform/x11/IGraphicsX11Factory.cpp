#include "graphics/IEditorFactory.h"
#include "platform/x11/IGraphicsX11.h"

// The pictures are built into the module's own data, so no handle is needed.
IGraphics* MakeEditorGraphics(IPlugBase* plug, int width, int height, int fps, void*)
{
  return new IGraphicsX11(plug, width, height, fps);
}
