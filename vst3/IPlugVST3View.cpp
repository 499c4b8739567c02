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
  // A host that let go of an attached view: nothing of it may stay open or
  // with the run loop.
  CloseEditorWindow();
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
  const bool window = type && std::strcmp(type, kEditorPlatformType) == 0;
  if (window && !OpenEditorWindow(parent)) return kResultFalse;
  CPluginView::attached(parent, type);
  if (window)
  {
    if (!mHostScaleGiven) ChangeScale(graphics->ScreenScale());
    graphics->SetScreenScaleHandler([this](double factor) {
      if (!mHostScaleGiven) ChangeScale(factor);
    });
  }
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
  // While another view shows the window, this one opens at its own host's factor.
  if (!mHoldsWindow && mPlug->WindowView() && mHostScaleGiven)
    *size = SizeAt(mHostScale);
  else
    *size = ViewRect(0, 0, graphics->ScreenWidth(), graphics->ScreenHeight());
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::onSize(ViewRect* newSize)
{
  // Some hosts report a zero rectangle before the window has a size: it
  // asks for nothing.
  if (!newSize || (newSize->getWidth() <= 0 && newSize->getHeight() <= 0)) return kResultOk;
  // The host agreeing to a new factor's size; one that repeats the old size
  // agrees to nothing.
  if (mPendingScale > 0.0)
  {
    const ViewRect wanted = SizeAt(mPendingScale);
    if (newSize->getWidth() == wanted.getWidth() && newSize->getHeight() == wanted.getHeight())
    {
      const double scale = mPendingScale;
      mPendingScale = 0.0;
      if (IGraphics* graphics = mPlug->GetGraphics()) graphics->SetScale(scale);
    }
  }
  rect = *newSize;
  if (mResizePending)
  {
    mResizePending = false;
    mPlug->EditorResized();
  }
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::checkSizeConstraint(ViewRect* proposed)
{
  IGraphics* graphics = mPlug->GetGraphics();
  if (!graphics) return kResultFalse;
  if (!proposed) return kInvalidArgument;
  // The editor has one size: any proposal, a zero rectangle included, is
  // answered with it at the proposal's place.
  proposed->right = proposed->left + graphics->ScreenWidth();
  proposed->bottom = proposed->top + graphics->ScreenHeight();
  return kResultTrue;
}

tresult PLUGIN_API IPlugVST3View::setContentScaleFactor(ScaleFactor factor)
{
  if (!mPlug->GetGraphics()) return kResultFalse;
  mHostScaleGiven = true;
  mHostScale = IGraphics::QuantizeScale(factor);
  ChangeScale(mHostScale);
  return kResultTrue;
}

ViewRect IPlugVST3View::SizeAt(double scale) const
{
  IGraphics* graphics = mPlug->GetGraphics();
  if (!graphics) return ViewRect();
  return ViewRect(0, 0, IGraphics::ScaleLength(graphics->Width(), scale),
                  IGraphics::ScaleLength(graphics->Height(), scale));
}

void IPlugVST3View::ChangeScale(double factor)
{
  IGraphics* graphics = mPlug->GetGraphics();
  if (!graphics) return;
  const double scale = IGraphics::QuantizeScale(factor);
  // The window another view shows is that view's: this one's factor waits
  // until it opens the window itself.
  if (!mHoldsWindow && mPlug->WindowView()) return;
  // Before the window opens, or with no frame to ask, the factor is simply
  // the editor's from now on.
  const ViewRect size = SizeAt(scale);
  if (!mHoldsWindow || !plugFrame ||
      (size.getWidth() == graphics->ScreenWidth() && size.getHeight() == graphics->ScreenHeight()))
  {
    mPendingScale = 0.0;
    graphics->SetScale(scale);
    return;
  }
  // The host is asked; until it agrees (onSize with the new size, or a yes
  // without one) getSize still gives the old size.
  mPendingScale = scale;
  ViewRect request = size;
  const tresult answer = plugFrame->resizeView(this, &request);
  if (mPendingScale == scale && answer == kResultTrue) graphics->SetScale(scale);
  mPendingScale = 0.0;
}

tresult PLUGIN_API IPlugVST3View::setFrame(IPlugFrame* frame)
{
  if (frame == plugFrame) return kResultOk;
  // The old frame's run loop may go with the frame: what was registered
  // there is unregistered now, through the same loop.
  UnbindRunLoop();
  plugFrame = frame;
  if (mHoldsWindow && frame) BindRunLoop();
  return kResultOk;
}

void IPlugVST3View::RequestResize(int width, int height)
{
  if (!plugFrame) return;
  mResizePending = true;
  ViewRect size(0, 0, width, height);
  plugFrame->resizeView(this, &size);
}

void IPlugVST3View::LoseWindow()
{
  UnbindRunLoop();
  mHoldsWindow = false;
}

bool IPlugVST3View::OpenEditorWindow(void* parent)
{
  IGraphics* graphics = mPlug->GetGraphics();
#if SMTG_OS_LINUX
  // Without the host's run loop nothing would ever draw the window.
  FUnknownPtr<Linux::IRunLoop> loop(plugFrame);
  if (!loop || !dynamic_cast<IEditorRunLoop*>(graphics)) return false;
#endif
  // Attached again without removed: the old window and registration go first.
  CloseEditorWindow();
  if (IPlugVST3View* holder = mPlug->WindowView()) holder->LoseWindow();
  // The window opens at the factor this view's host gave it.
  if (mHostScaleGiven) graphics->SetScale(mHostScale);
  if (!graphics->OpenWindow(parent))
  {
    mPlug->SetWindowView(nullptr);
    return false;
  }
  mHoldsWindow = true;
  mPlug->SetWindowView(this);
#if SMTG_OS_LINUX
  if (!BindRunLoop())
  {
    CloseEditorWindow();
    return false;
  }
#endif
  return true;
}

void IPlugVST3View::CloseEditorWindow()
{
  UnbindRunLoop();
  if (!mHoldsWindow) return;
  mHoldsWindow = false;
  mPlug->SetWindowView(nullptr);
  if (IGraphics* graphics = mPlug->GetGraphics())
  {
    graphics->SetScreenScaleHandler(nullptr);
    graphics->CloseWindow();
  }
}

bool IPlugVST3View::BindRunLoop()
{
#if SMTG_OS_LINUX
  FUnknownPtr<Linux::IRunLoop> loop(plugFrame);
  auto* editor = dynamic_cast<IEditorRunLoop*>(mPlug->GetGraphics());
  if (!loop || !editor) return false;
  mRunLoopBinding = RunLoopBinding::Register(loop, editor);
  return mRunLoopBinding != nullptr;
#else
  return true;
#endif
}

void IPlugVST3View::UnbindRunLoop()
{
#if SMTG_OS_LINUX
  if (mRunLoopBinding) mRunLoopBinding->Unregister();
  mRunLoopBinding = nullptr;
#endif
}
