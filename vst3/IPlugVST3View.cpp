#include "vst3/IPlugVST3View.h"

#include "graphics/IGraphics.h"
#include "vst3/IPlugVST3.h"

#include <cstring>

using namespace Steinberg;

IPlugVST3View::IPlugVST3View(IPlugVST3* plug) : mPlug(plug)
{
  mPlug->addRef();
  mPlug->AddView(this);
}

IPlugVST3View::~IPlugVST3View()
{
  mPlug->RemoveView(this);
  mPlug->release();
}

tresult PLUGIN_API IPlugVST3View::isPlatformTypeSupported(FIDString type)
{
  if (!mPlug->GetGraphics() || !type) return kResultFalse;
  return std::strcmp(type, kPlatformTypeHWND) == 0 ? kResultOk : kResultFalse;
}

tresult PLUGIN_API IPlugVST3View::attached(void* parent, FIDString type)
{
  IGraphics* graphics = mPlug->GetGraphics();
  if (!graphics) return kResultFalse;
  if (type && std::strcmp(type, kPlatformTypeHWND) == 0)
  {
    // A window that cannot be made (an invalid parent, say) is a failure the
    // host must hear of, and the editor is not open.
    if (!graphics->OpenWindow(parent)) return kResultFalse;
  }
  CPluginView::attached(parent, type);
  mPlug->EditorOpened();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::removed()
{
  if (IGraphics* graphics = mPlug->GetGraphics())
  {
    mPlug->EditorClosed();
    graphics->CloseWindow();
  }
  CPluginView::removed();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::getSize(ViewRect* size)
{
  IGraphics* graphics = mPlug->GetGraphics();
  if (!graphics) return kResultFalse;
  if (!size) return kInvalidArgument;
  *size = ViewRect(0, 0, graphics->Width(), graphics->Height());
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::onSize(ViewRect* newSize)
{
  if (!newSize) return kResultOk;
  rect = *newSize;
  if (mResizePending)
  {
    mResizePending = false;
    mPlug->EditorResized();
  }
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::setFrame(IPlugFrame* frame)
{
  plugFrame = frame;
  return kResultOk;
}

void IPlugVST3View::RequestResize(int width, int height)
{
  if (!plugFrame) return;
  mResizePending = true;
  ViewRect size(0, 0, width, height);
  plugFrame->resizeView(this, &size);
}
