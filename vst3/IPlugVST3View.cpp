#include "vst3/IPlugVST3View.h"

#include "graphics/IEditorRunLoop.h"
#include "graphics/IGraphics.h"
#include "vst3/IPlugVST3.h"
#include "vst3/RunLoopBinding.h"

#include <cstring>

using namespace Steinberg;

namespace
{
#if SMTG_OS_LINUX
const FIDString kEditorPlatformType = kPlatformTypeX11EmbedWindowID;
#else
const FIDString kEditorPlatformType = kPlatformTypeHWND;
#endif
}  // namespace

IPlugVST3View::IPlugVST3View(IPlugVST3* plug) : mPlug(plug)
{
  mPlug->addRef();
  mPlug->AddView(this);
}

IPlugVST3View::~IPlugVST3View()
{
  // A host that let go of an attached view: nothing of it may stay with the run loop.
  if (mRunLoopBinding) CloseEditorWindow();
  mPlug->RemoveView(this);
  mPlug->release();
}

tresult PLUGIN_API IPlugVST3View::isPlatformTypeSupported(FIDString type)
{
  if (!mPlug->GetGraphics() || !type) return kResultFalse;
  return std::strcmp(type, kEditorPlatformType) == 0 ? kResultOk : kResultFalse;
}

tresult PLUGIN_API IPlugVST3View::attached(void* parent, FIDString type)
{
  IGraphics* graphics = mPlug->GetGraphics();
  if (!graphics) return kResultFalse;
  // A window that cannot be made (an invalid parent, say) is a failure the
  // host must hear of, and the editor is not open.
  if (type && std::strcmp(type, kEditorPlatformType) == 0 && !OpenEditorWindow(parent))
    return kResultFalse;
  CPluginView::attached(parent, type);
  mPlug->EditorOpened();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::removed()
{
  if (mPlug->GetGraphics())
  {
    mPlug->EditorClosed();
    CloseEditorWindow();
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

bool IPlugVST3View::OpenEditorWindow(void* parent)
{
  IGraphics* graphics = mPlug->GetGraphics();
#if SMTG_OS_LINUX
  // Attached again without removed: the old registration goes with the old window.
  CloseEditorWindow();
  FUnknownPtr<Linux::IRunLoop> loop(plugFrame);
  auto* editor = dynamic_cast<IEditorRunLoop*>(graphics);
  if (!loop || !editor || !graphics->OpenWindow(parent)) return false;
  mRunLoopBinding = RunLoopBinding::Register(loop, editor);
  if (!mRunLoopBinding)
  {
    graphics->CloseWindow();
    return false;
  }
  return true;
#else
  return graphics->OpenWindow(parent) != nullptr;
#endif
}

void IPlugVST3View::CloseEditorWindow()
{
#if SMTG_OS_LINUX
  if (mRunLoopBinding) mRunLoopBinding->Unregister();
  mRunLoopBinding = nullptr;
#endif
  if (IGraphics* graphics = mPlug->GetGraphics()) graphics->CloseWindow();
}
