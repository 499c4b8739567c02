// The Linux host's plug frame, which is also the run loop an editor draws
// from: timers, descriptors, and the references it holds for both.
#include "tools/host/RunLoop_linux.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <functional>
#include <vector>

using namespace Steinberg;

namespace {

// A timer and descriptor handler that counts its calls and references, and
// runs an action on each call.
class Handler : public Linux::ITimerHandler, public Linux::IEventHandler
{
public:
  void PLUGIN_API onTimer() override
  {
    ++timerCalls;
    if (action) action();
  }
  void PLUGIN_API onFDIsSet(Linux::FileDescriptor fd) override
  {
    fds.push_back(fd);
    if (action) action();
  }
  tresult PLUGIN_API queryInterface(const TUID, void** obj) override
  {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return ++refs; }
  uint32 PLUGIN_API release() override { return --refs; }

  int refs = 1;
  int timerCalls = 0;
  std::vector<int> fds;
  std::function<void()> action;
};

struct Pipe
{
  Pipe() { EXPECT_EQ(pipe(fd), 0); }
  ~Pipe()
  {
    close(fd[0]);
    close(fd[1]);
  }
  void Write() { EXPECT_EQ(write(fd[1], "x", 1), 1); }
  void Drain()
  {
    char c;
    EXPECT_EQ(read(fd[0], &c, 1), 1);
  }
  int fd[2] = {-1, -1};
};

double SecondsOf(const std::function<void()>& f)
{
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST(RunLoopFrame, anEditorFindsTheRunLoopThroughThePlugFrameItWasGiven)
{
  host::RunLoopFrame frame;
  IPlugFrame* plugFrame = &frame;
  void* runLoop = nullptr;
  ASSERT_EQ(plugFrame->queryInterface(Linux::IRunLoop::iid, &runLoop), kResultOk);
  EXPECT_EQ(runLoop, static_cast<Linux::IRunLoop*>(&frame));
  void* unknown = nullptr;
  ASSERT_EQ(static_cast<Linux::IRunLoop*>(&frame)->queryInterface(FUnknown::iid, &unknown), kResultOk);
  void* again = nullptr;
  ASSERT_EQ(static_cast<FUnknown*>(unknown)->queryInterface(IPlugFrame::iid, &again), kResultOk);
  EXPECT_EQ(again, plugFrame);
  void* view = &frame;
  EXPECT_EQ(plugFrame->queryInterface(IPlugView::iid, &view), kNoInterface);
  EXPECT_EQ(view, nullptr);
}

TEST(RunLoopFrame, handlersAreHeldWithAReferenceUntilUnregisteredOrTheFrameGoes)
{
  Handler kept, dropped;
  Pipe p;
  {
    host::RunLoopFrame frame;
    EXPECT_EQ(frame.registerTimer(&kept, 40), kResultOk);
    EXPECT_EQ(frame.registerTimer(&kept, 40), kResultFalse);
    EXPECT_EQ(frame.registerTimer(&dropped, 0), kInvalidArgument);
    EXPECT_EQ(frame.registerTimer(nullptr, 40), kInvalidArgument);
    EXPECT_EQ(frame.registerEventHandler(&kept, p.fd[0]), kResultOk);
    EXPECT_EQ(frame.registerEventHandler(&kept, p.fd[0]), kResultFalse);
    EXPECT_EQ(frame.registerEventHandler(&kept, p.fd[1]), kResultOk);
    EXPECT_EQ(frame.registerEventHandler(&dropped, -1), kInvalidArgument);
    EXPECT_EQ(frame.registerEventHandler(&dropped, p.fd[0]), kResultOk);
    EXPECT_EQ(frame.registerTimer(&dropped, 10), kResultOk);
    EXPECT_EQ(frame.Timers(), 2);
    EXPECT_EQ(frame.EventHandlers(), 3);
    EXPECT_EQ(kept.refs, 1 + 3);
    EXPECT_EQ(dropped.refs, 1 + 2);

    EXPECT_EQ(frame.unregisterTimer(&dropped), kResultOk);
    EXPECT_EQ(frame.unregisterTimer(&dropped), kInvalidArgument);
    EXPECT_EQ(frame.unregisterEventHandler(&dropped), kResultOk);
    EXPECT_EQ(frame.unregisterEventHandler(&dropped), kInvalidArgument);
    EXPECT_EQ(dropped.refs, 1);
    EXPECT_EQ(frame.Timers(), 1);
    EXPECT_EQ(frame.EventHandlers(), 2);
  }
  // Nothing was unregistered for the handler the frame still held.
  EXPECT_EQ(kept.refs, 1);
  EXPECT_EQ(kept.timerCalls, 0);
}

TEST(RunLoopFrame, timersFireAtAboutTheirIntervalForAsLongAsTheLoopRuns)
{
  Handler fast, slow;
  host::RunLoopFrame frame;
  ASSERT_EQ(frame.registerTimer(&fast, 10), kResultOk);
  ASSERT_EQ(frame.registerTimer(&slow, 40), kResultOk);
  const double seconds = SecondsOf([&] { frame.Run(400); });
  EXPECT_GE(seconds, 0.4);
  EXPECT_LT(seconds, 2.0);
  // Never early; late only as far as a busy machine makes it.
  EXPECT_LE(fast.timerCalls, 40);
  EXPECT_GE(fast.timerCalls, 10);
  EXPECT_LE(slow.timerCalls, 10);
  EXPECT_GE(slow.timerCalls, 3);
  EXPECT_GT(fast.timerCalls, 2 * slow.timerCalls);

  // Without handlers the loop still lasts its time.
  ASSERT_EQ(frame.unregisterTimer(&fast), kResultOk);
  ASSERT_EQ(frame.unregisterTimer(&slow), kResultOk);
  EXPECT_GE(SecondsOf([&] { frame.Run(50); }), 0.05);
}

TEST(RunLoopFrame, aDescriptorsHandlerRunsOnlyWhileItIsReadable)
{
  // Handlers outlive the frame, which releases those still registered.
  Handler onA, onB;
  Pipe a, b;
  host::RunLoopFrame frame;
  onA.action = [&] { a.Drain(); };
  ASSERT_EQ(frame.registerEventHandler(&onA, a.fd[0]), kResultOk);
  ASSERT_EQ(frame.registerEventHandler(&onB, b.fd[0]), kResultOk);

  frame.Run(30);
  EXPECT_TRUE(onA.fds.empty());
  a.Write();
  const double seconds = SecondsOf([&] { frame.Run(60); });
  EXPECT_EQ(onA.fds, std::vector<int>{a.fd[0]});
  EXPECT_TRUE(onB.fds.empty());
  EXPECT_GE(seconds, 0.06);
  a.Write();
  a.Write();
  frame.Run(30);
  EXPECT_EQ(onA.fds.size(), 3u);
  EXPECT_TRUE(onB.fds.empty());
}

TEST(RunLoopFrame, aHandlerMayUnregisterItselfAndOthersFromItsCall)
{
  Handler first, second, timer;
  Pipe p;
  host::RunLoopFrame frame;
  // Both watch the same readable descriptor; the first to run takes both away.
  first.action = [&] {
    EXPECT_EQ(frame.unregisterEventHandler(&second), kResultOk);
    EXPECT_EQ(frame.unregisterEventHandler(&first), kResultOk);
  };
  second.action = [&] { EXPECT_EQ(frame.unregisterEventHandler(&first), kResultOk); };
  timer.action = [&] { EXPECT_EQ(frame.unregisterTimer(&timer), kResultOk); };
  ASSERT_EQ(frame.registerEventHandler(&first, p.fd[0]), kResultOk);
  ASSERT_EQ(frame.registerEventHandler(&second, p.fd[0]), kResultOk);
  ASSERT_EQ(frame.registerTimer(&timer, 5), kResultOk);
  p.Write();
  frame.Run(60);

  EXPECT_EQ(first.fds.size(), 1u);
  EXPECT_TRUE(second.fds.empty());
  EXPECT_EQ(timer.timerCalls, 1);
  EXPECT_EQ(frame.EventHandlers(), 0);
  EXPECT_EQ(frame.Timers(), 0);
  EXPECT_EQ(first.refs, 1);
  EXPECT_EQ(second.refs, 1);
  EXPECT_EQ(timer.refs, 1);
}
