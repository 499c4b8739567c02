#include "vst3/RunLoopBinding.h"

#if SMTG_OS_LINUX
#include "framework/UnloadList.h"
#include "graphics/IEditorRunLoop.h"

#include <new>

using namespace Steinberg;

namespace
{
// The bindings registered with a host's run loop: a host that unloads the
// module with an editor still attached must not keep calling code that is gone.
UnloadList<RunLoopBinding> gLiveBindings([](RunLoopBinding* binding) { binding->Unregister(); });
}  // namespace

RunLoopBinding::RunLoopBinding(Linux::IRunLoop* loop, IEditorRunLoop* editor)
  : mLoop(loop), mEditor(editor)
{
}

RunLoopBinding* RunLoopBinding::Register(Linux::IRunLoop* loop, IEditorRunLoop* editor)
{
  const int fd = editor ? editor->EventDescriptor() : -1;
  if (!loop || fd < 0) return nullptr;
  auto* binding = new (std::nothrow) RunLoopBinding(loop, editor);
  if (!binding) return nullptr;
  gLiveBindings.Add(binding);
  // The timer is what the editor lives on; the descriptor only makes input
  // quicker, and a host may refuse it (some run loops cannot watch one).
  binding->mTimerRegistered =
      loop->registerTimer(binding, static_cast<Linux::TimerInterval>(IEditorRunLoop::kTimerTickMs)) ==
      kResultOk;
  if (!binding->mTimerRegistered)
  {
    binding->Unregister();
    return nullptr;
  }
  binding->mEventsRegistered = loop->registerEventHandler(binding, fd) == kResultOk;
  return binding;
}

void RunLoopBinding::Unregister()
{
  if (!mEditor) return;  // already done
  gLiveBindings.Remove(this);
  mEditor = nullptr;
  if (mTimerRegistered) mLoop->unregisterTimer(this);
  if (mEventsRegistered) mLoop->unregisterEventHandler(this);
  mTimerRegistered = mEventsRegistered = false;
  mLoop = nullptr;  // the host's loop is not ours to keep
  release();
}

void PLUGIN_API RunLoopBinding::onFDIsSet(Linux::FileDescriptor)
{
  if (mEditor) mEditor->OnEventsReady();
}

void PLUGIN_API RunLoopBinding::onTimer()
{
  if (mEditor) mEditor->OnTimerTick();
}

tresult PLUGIN_API RunLoopBinding::queryInterface(const TUID iid, void** obj)
{
  if (FUnknownPrivate::iidEqual(iid, Linux::IEventHandler::iid) ||
      FUnknownPrivate::iidEqual(iid, FUnknown::iid))
    *obj = static_cast<Linux::IEventHandler*>(this);
  else if (FUnknownPrivate::iidEqual(iid, Linux::ITimerHandler::iid))
    *obj = static_cast<Linux::ITimerHandler*>(this);
  else
  {
    *obj = nullptr;
    return kNoInterface;
  }
  addRef();
  return kResultOk;
}

uint32 PLUGIN_API RunLoopBinding::addRef()
{
  return ++mRefs;
}

uint32 PLUGIN_API RunLoopBinding::release()
{
  const uint32 refs = --mRefs;
  if (refs == 0) delete this;
  return refs;
}
#endif
