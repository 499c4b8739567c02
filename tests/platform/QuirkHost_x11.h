#pragma once
// A Linux DAW's plug frame and run loop that behaves, on demand, as one of
// the hosts Morvex meets does: how it serves descriptors and timers, what
// window it gives the editor, and whether it embeds with XEmbed. What is
// registered is kept as the host tool's own run loop keeps it.

#include "tools/host/RunLoop_linux.h"

#include <X11/Xlib.h>

#include <map>
#include <vector>

struct HostHabits
{
  const char* name;
  bool fdFiresOnce = false;          // the descriptor watch fires once, then removes itself
  bool selectMissesHighest = false;  // select is given the highest descriptor, not one more
  bool idlePollsFd = false;          // onFDIsSet 50 times a tick from idle, readable or not
  bool noFdSupport = false;          // registerEventHandler answers kNotImplemented
  int tickMs = 0;                    // timers only on ticks this long, rounded up; 0: exact
  bool frameGoneBeforeRemoved = false;  // setFrame(nullptr) comes before removed
  bool releaseWithoutRemoved = false;   // the view is released while attached
  bool unmappedParent = false;          // the parent is mapped only after attached
  bool xembedChecksInfo = false;        // reads _XEMBED_INFO on the client's CreateNotify
};

class QuirkHost : public host::RunLoopFrame
{
public:
  static constexpr int kIdlePolls = 50;

  // How the host answers a view's resizeView.
  enum class ResizeAnswer
  {
    kOnSize,            // resizes its window and calls onSize, as the SDK's hosts do
    kYesWithoutOnSize,  // resizes its window and says yes, but never calls onSize
    kRefuse,            // says no
    kOldSizeThenNo,     // calls onSize with the size the view has, then says no
  };
  struct ResizeCall
  {
    Steinberg::ViewRect asked;
    Steinberg::ViewRect sizeDuringCall;  // what getSize answered meanwhile
  };

  // The host's own connection is the session's; its window is made here.
  QuirkHost(const HostHabits& habits, Display* display);
  ~QuirkHost() override;

  Window Parent() const { return mParent; }
  void MapParent();
  // The parent to the size the view asked for, as hosts do from getSize.
  void SizeParent(const Steinberg::ViewRect& size);
  // Serves the loop until `ticks` more timer calls were made, or maxMs passed.
  void RunTicks(int ticks, int maxMs = 2000);
  void Run(int ms);

  // XEmbed: the client window seen on CreateNotify, whether it carried
  // _XEMBED_INFO then, its flags, and its requests for the focus.
  Window Client() const { return mClient; }
  bool ClientHadInfo() const { return mClientHadInfo; }
  long ClientFlags() const { return mClientFlags; }
  int FocusRequests() const { return mFocusRequests; }

  ResizeAnswer resizeAnswer = ResizeAnswer::kOnSize;
  std::vector<ResizeCall> resizeCalls;

  Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                           Steinberg::ViewRect* newSize) override;
  Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                     Steinberg::Linux::FileDescriptor fd) override;

private:
  void Step(Clock::time_point until);
  void ServeDescriptors(Clock::duration wait);
  void ServeOwnConnection();
  void Embed(Window client);
  void SendXEmbed(Window to, long message, long detail, long data1, long data2);
  void Fire(Steinberg::Linux::ITimerHandler* handler);
  void FireIdlePolls();
  // On a ticking host: the ticks left before the timer's next call.
  int& TicksLeft(const TimerEntry& timer);

  HostHabits mHabits;
  Display* mDisplay;
  Window mParent = 0;
  Atom mXEmbed = 0;
  Atom mXEmbedInfo = 0;
  Window mClient = 0;
  bool mClientHadInfo = false;
  long mClientFlags = 0;
  int mFocusRequests = 0;
  std::map<Steinberg::Linux::ITimerHandler*, int> mTicksLeft;
  Clock::time_point mNextTick;
  long mTimerCalls = 0;
};
