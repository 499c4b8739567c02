// The plug-in base's side of the editor: handing values to the graphics
// context and owning it. The graphics context arrives with the editor work;
// until then no context can exist, and with none there is nothing to do.
#include "framework/IPlugBase.h"

void IPlugBase::AttachEditor(IGraphics* graphics)
{
  if (!graphics) return;
  // Editor seam: under the lock, push every parameter's NormalizedValue() into
  // the context's controls, let the context prepare its drawing, then keep it:
  //   Guard guard(mMutex);
  //   for (int i = 0; i < NParams(); ++i)
  //     graphics->UpdateParameterControls(i, GetParam(i)->NormalizedValue(), true);
  //   graphics->PrepareDrawing();
  //   mGraphics = graphics;
}

void IPlugBase::RefreshEditorControls()
{
  if (!mGraphics) return;
  // Editor seam: hand every parameter's plain value to the context, which
  // normalizes it and updates that parameter's controls:
  //   for (int i = 0; i < NParams(); ++i)
  //     mGraphics->UpdateParameterControls(i, GetParam(i)->Value(), false);
}

void IPlugBase::DeleteEditor()
{
  // Editor seam: delete mGraphics once the context's type is complete here.
  mGraphics = nullptr;
}
