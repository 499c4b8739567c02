// The plug-in base's side of the editor: owning the graphics context and
// handing it the parameters' values.
#include "framework/IPlugBase.h"

#include "graphics/IGraphics.h"

void IPlugBase::AttachEditor(IGraphics* graphics)
{
  if (!graphics) return;
  Guard guard(mMutex);
  // Each control learns its double-click default from this first value.
  for (int i = 0; i < NParams(); ++i)
    graphics->UpdateParameterControls(i, GetParam(i)->NormalizedValue(), true);
  graphics->PrepareDrawing();
  if (mGraphics != graphics) DeleteEditor();
  mGraphics = graphics;
}

void IPlugBase::RefreshEditorControls()
{
  if (!mGraphics) return;
  for (int i = 0; i < NParams(); ++i)
    mGraphics->UpdateParameterControls(i, GetParam(i)->Value(), false);
}

void IPlugBase::DeleteEditor()
{
  delete mGraphics;
  mGraphics = nullptr;
}
