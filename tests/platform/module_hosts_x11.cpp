// The built Morvex.vst3's editor in the Linux hosts people run, each met
// through a test host that behaves as that host does: however the host
// serves the run loop, gives the window and ends the view, the editor opens,
// shows the host's changes within two ticks, takes a drag as one gesture and
// leaves nothing behind.
#include "tests/host/EditorScreen.h"
#include "tests/host/ModuleFixture.h"
#include "tests/platform/QuirkHost_x11.h"
#include "tests/platform/X11Fixture.h"

#include "engine/Morvex.h"
#include "engine/MorvexEditor.h"
#include "raster/LICE_PNG.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <X11/Xatom.h>

#include <chrono>
#include <string>
#include <thread>

using namespace Steinberg;
using namespace Steinberg::Vst;
using Edit = host::ComponentHandler::Edit;

void PrintTo(const HostHabits& habits, std::ostream* os)
{
  *os << habits.name;
}

namespace
{
constexpr int kWidth = MorvexEditor::kWidth;
constexpr int kHeight = MorvexEditor::kHeight;

void* AsParent(Window window) { return reinterpret_cast<void*>(window); }

class EditorHostTest : public MorvexModuleTest
{
protected:
  void SetUp() override
  {
    MorvexModuleTest::SetUp();
    if (HasFatalFailure()) return;
    if (!x.Connection()) GTEST_SKIP() << "no X display with XTEST: run under xvfb-run";
    ASSERT_TRUE(ProcessFirstBlockWithSettings(*mPlugin));
  }

  Window OnlyChild(Window parent)
  {
    const std::vector<Window> children = x.Children(parent);
    return children.size() == 1 ? children[0] : 0;
  }
  // What the server shows once it has drawn what the editor sent; the host
  // loop does not run meanwhile, so nothing new is drawn.
  int PixelsOffLayout(Window editor, double scale = 1.0)
  {
    const int w = ScaledLength(kWidth, scale), h = ScaledLength(kHeight, scale);
    int differing = -1;
    for (int attempt = 0; attempt < 20 && differing != 0; ++attempt)
    {
      if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      differing = PixelsDifferingFromLayout(x.ReadWindow(editor, w, h), *mPlugin,
                                            SourceTreePictures(MORVEX_SOURCE_DIR), scale);
    }
    return differing;
  }
  Window FocusedWindow()
  {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(x.Connection(), &focus, &revert);
    return focus;
  }
  void DragLowGainUp(QuirkHost& host, Window editor, int pixels)
  {
    const auto& c = SpecFor(Morvex::kLowGain);
    const int cx = c.left + c.frameWidth / 2, cy = c.top + c.frameHeight / 2;
    x.MoveTo(editor, cx, cy);
    host.RunTicks(2);
    x.Button(Button1, true);
    host.RunTicks(2);
    x.MoveTo(editor, cx, cy - pixels);
    host.RunTicks(2);
    x.Button(Button1, false);
    host.RunTicks(2);
  }

  X11Session x;
};

class HostHabitsTest : public EditorHostTest, public testing::WithParamInterface<HostHabits>
{
};

TEST_P(HostHabitsTest, editorOpensRedrawsTakesADragAndLeavesNothing)
{
  const HostHabits& habits = GetParam();
  QuirkHost host(habits, x.Connection());
  IPlugView* view = mPlugin->controller()->createView(ViewType::kEditor);
  ASSERT_NE(nullptr, view);

  // Sizes asked before attached, a zero rectangle among them, get the editor's.
  ViewRect size, zero;
  ASSERT_EQ(kResultOk, view->getSize(&size));
  EXPECT_EQ(kWidth, size.getWidth());
  EXPECT_EQ(kHeight, size.getHeight());
  EXPECT_EQ(kResultTrue, view->checkSizeConstraint(&zero));
  EXPECT_EQ(kWidth, zero.getWidth());
  EXPECT_EQ(kHeight, zero.getHeight());
  // Nor is an onSize of nothing, or of the old size, a request.
  ViewRect nothing;
  EXPECT_EQ(kResultOk, view->onSize(&nothing));
  EXPECT_EQ(kResultOk, view->onSize(&size));
  ASSERT_EQ(kResultOk, view->getSize(&size));
  EXPECT_EQ(kWidth, size.getWidth());

  view->setFrame(&host);
  ASSERT_EQ(kResultOk, view->attached(AsParent(host.Parent()), kPlatformTypeX11EmbedWindowID));
  const Window editor = OnlyChild(host.Parent());
  ASSERT_NE(0u, editor);
  EXPECT_EQ(1, host.Timers());
  EXPECT_EQ(habits.noFdSupport ? 0 : 1, host.EventHandlers());
  host.RunTicks(2);
  if (habits.xembedChecksInfo)
  {
    EXPECT_EQ(editor, host.Client());
    EXPECT_TRUE(host.ClientHadInfo()) << "_XEMBED_INFO was missing when the window appeared";
    EXPECT_EQ(1, host.ClientFlags() & 1) << "the window does not ask to be mapped";
  }
  if (habits.unmappedParent)
  {
    host.RunTicks(3);
    host.MapParent();
  }
  host.RunTicks(3);
  EXPECT_EQ(0, PixelsOffLayout(editor));

  // Automation from the host: on screen within two ticks.
  ASSERT_TRUE(ProcessBlockWithChange(*mPlugin, Morvex::kLowGain, 0.6));
  host.RunTicks(2);
  EXPECT_EQ(0, PixelsOffLayout(editor));

  // A drag of 20 pixels up on "Low Gain" (80 high, gearing 4) is one gesture.
  host::ComponentHandler& handler = mPlugin->handler();
  handler.clear();
  DragLowGainUp(host, editor, 20);
  const std::vector<Edit> edits = handler.edits();
  ASSERT_GE(edits.size(), 3u);
  EXPECT_EQ(Edit::kBegin, edits.front().kind);
  EXPECT_EQ(Edit::kEnd, edits.back().kind);
  for (const Edit& e : edits) EXPECT_EQ(ParamID(Morvex::kLowGain), e.id);
  EXPECT_DOUBLE_EQ(0.6 + 20.0 / 80.0 / 4.0, mPlugin->controller()->getParamNormalized(Morvex::kLowGain));
  // The keyboard follows the click: asked of an embedder, taken from the server otherwise.
  if (habits.xembedChecksInfo)
    EXPECT_EQ(1, host.FocusRequests());
  else
    EXPECT_EQ(editor, FocusedWindow());

  // The view ends as this host ends it.
  if (habits.frameGoneBeforeRemoved)
  {
    view->setFrame(nullptr);
    EXPECT_EQ(0, host.Timers());
    EXPECT_EQ(0, host.EventHandlers());
    EXPECT_EQ(kResultOk, view->removed());
    view->release();
  }
  else if (habits.releaseWithoutRemoved)
  {
    // Carla's own window: the frame goes, then the view, never removed.
    view->setFrame(nullptr);
    view->release();
  }
  else
  {
    EXPECT_EQ(kResultOk, view->removed());
    view->setFrame(nullptr);
    view->release();
  }
  EXPECT_TRUE(x.Children(host.Parent()).empty());
  EXPECT_EQ(0, host.Timers());
  EXPECT_EQ(0, host.EventHandlers());
  host.Run(30);  // nothing is called any more
}

// Hosts that attach twice, make a second view before removing the first,
// or open and close editors with no event in between.
// The geometry of an X window.
ViewRect WindowSize(Display* display, Window window)
{
  Window root;
  int x = 0, y = 0;
  unsigned w = 0, h = 0, border = 0, depth = 0;
  XGetGeometry(display, window, &root, &x, &y, &w, &h, &border, &depth);
  return ViewRect(0, 0, static_cast<int>(w), static_cast<int>(h));
}

bool SameSize(const ViewRect& a, int w, int h) { return a.getWidth() == w && a.getHeight() == h; }

using ViewLifeTest = EditorHostTest;

TEST_F(ViewLifeTest, aSecondViewTakesTheWindowAndOnlyTheHolderClosesIt)
{
  QuirkHost first(HostHabits{"first"}, x.Connection());
  QuirkHost second(HostHabits{"second"}, x.Connection());
  IPlugView* a = mPlugin->controller()->createView(ViewType::kEditor);
  IPlugView* b = mPlugin->controller()->createView(ViewType::kEditor);
  ASSERT_TRUE(a && b);
  a->setFrame(&first);
  b->setFrame(&second);
  ASSERT_EQ(kResultOk, a->attached(AsParent(first.Parent()), kPlatformTypeX11EmbedWindowID));
  // The second view's host gives it a factor: the first view's window keeps
  // its size, and the second view opens at its own.
  const Window firstEditor = OnlyChild(first.Parent());
  EXPECT_EQ(kResultTrue, FUnknownPtr<IPlugViewContentScaleSupport>(b)->setContentScaleFactor(2.0f));
  EXPECT_TRUE(SameSize(WindowSize(x.Connection(), firstEditor), kWidth, kHeight));
  ViewRect size;
  b->getSize(&size);
  EXPECT_TRUE(SameSize(size, 2 * kWidth, 2 * kHeight));
  second.SizeParent(size);
  ASSERT_EQ(kResultOk, b->attached(AsParent(second.Parent()), kPlatformTypeX11EmbedWindowID));
  // One editor window, now in the second view's parent, on its loop only.
  EXPECT_TRUE(x.Children(first.Parent()).empty());
  const Window editor = OnlyChild(second.Parent());
  ASSERT_NE(0u, editor);
  EXPECT_TRUE(SameSize(WindowSize(x.Connection(), editor), 2 * kWidth, 2 * kHeight));
  EXPECT_EQ(0, first.Timers() + first.EventHandlers());
  EXPECT_EQ(1, second.Timers());

  // Removing the first view leaves the second's editor open and drawing.
  EXPECT_EQ(kResultOk, a->removed());
  EXPECT_EQ(editor, OnlyChild(second.Parent()));
  second.RunTicks(3);
  ASSERT_TRUE(ProcessBlockWithChange(*mPlugin, Morvex::kLowGain, 0.3));
  second.RunTicks(2);
  EXPECT_EQ(0, PixelsOffLayout(editor, 2.0));
  a->setFrame(nullptr);
  a->release();
  EXPECT_EQ(editor, OnlyChild(second.Parent()));

  EXPECT_EQ(kResultOk, b->removed());
  b->setFrame(nullptr);
  b->release();
  EXPECT_TRUE(x.Children(second.Parent()).empty());
  EXPECT_EQ(0, second.Timers() + second.EventHandlers());
}

TEST_F(ViewLifeTest, attachedTwiceOrOpenedAndClosedWithNoEventBetweenLeavesOneOrNothing)
{
  QuirkHost host(HostHabits{"host"}, x.Connection());
  IPlugView* view = mPlugin->controller()->createView(ViewType::kEditor);
  ASSERT_NE(nullptr, view);
  view->setFrame(&host);
  // A second map attaches again without removed: still one window, one timer.
  for (int i = 0; i < 2; ++i)
    ASSERT_EQ(kResultOk, view->attached(AsParent(host.Parent()), kPlatformTypeX11EmbedWindowID));
  EXPECT_EQ(1u, x.Children(host.Parent()).size());
  EXPECT_EQ(1, host.Timers());
  EXPECT_EQ(1, host.EventHandlers());
  EXPECT_EQ(kResultOk, view->removed());
  view->setFrame(nullptr);
  view->release();

  // Editors made and ended back to back, the loop never running between.
  for (int i = 0; i < 5; ++i)
  {
    IPlugView* quick = mPlugin->controller()->createView(ViewType::kEditor);
    ASSERT_NE(nullptr, quick);
    quick->setFrame(&host);
    ASSERT_EQ(kResultOk, quick->attached(AsParent(host.Parent()), kPlatformTypeX11EmbedWindowID));
    EXPECT_EQ(kResultOk, quick->removed());
    quick->setFrame(nullptr);
    quick->release();
  }
  EXPECT_TRUE(x.Children(host.Parent()).empty());
  EXPECT_EQ(0, host.Timers() + host.EventHandlers());
  host.Run(30);
}

TEST_F(ViewLifeTest, aHostFactorWhileOpenIsAskedOfTheFrameAndTakenWhenTheHostAgrees)
{
  using Answer = QuirkHost::ResizeAnswer;
  QuirkHost host(HostHabits{"host"}, x.Connection());
  IPlugView* view = mPlugin->controller()->createView(ViewType::kEditor);
  ASSERT_NE(nullptr, view);
  FUnknownPtr<IPlugViewContentScaleSupport> scaling(view);
  ASSERT_TRUE(scaling);
  view->setFrame(&host);
  // Given before attached, a factor is the size the window opens at, and
  // nothing is asked of the host.
  EXPECT_EQ(kResultTrue, scaling->setContentScaleFactor(1.25f));
  ASSERT_EQ(kResultOk, view->attached(AsParent(host.Parent()), kPlatformTypeX11EmbedWindowID));
  const Window editor = OnlyChild(host.Parent());
  EXPECT_TRUE(SameSize(WindowSize(x.Connection(), editor), 1453, 343));
  EXPECT_TRUE(host.resizeCalls.empty());

  struct Step
  {
    const char* what;
    Answer answer;
    float factor;
    double taken;  // the factor's step
    int w, h;      // the editor's size afterwards
  };
  const Step steps[] = {
    {"onSize brings the new size", Answer::kOnSize, 2.0f, 2.0, 2324, 548},
    {"a yes without onSize", Answer::kYesWithoutOnSize, 1.4f, 1.5, 1743, 411},
    {"a refusal", Answer::kRefuse, 3.0f, 3.0, 1743, 411},
    {"an onSize of the old size", Answer::kOldSizeThenNo, 2.5f, 2.5, 1743, 411},
    {"a factor below 1", Answer::kOnSize, 0.6f, 1.0, 1162, 274},
  };
  for (const Step& s : steps)
  {
    SCOPED_TRACE(s.what);
    ViewRect before;
    view->getSize(&before);
    host.resizeAnswer = s.answer;
    host.resizeCalls.clear();
    EXPECT_EQ(kResultTrue, scaling->setContentScaleFactor(s.factor));
    // The host was asked for the factor's size while the view still had its old one.
    ASSERT_EQ(1u, host.resizeCalls.size());
    EXPECT_TRUE(SameSize(host.resizeCalls[0].asked, ScaledLength(kWidth, s.taken),
                         ScaledLength(kHeight, s.taken)));
    EXPECT_TRUE(SameSize(host.resizeCalls[0].sizeDuringCall, before.getWidth(), before.getHeight()));
    ViewRect after;
    view->getSize(&after);
    EXPECT_TRUE(SameSize(after, s.w, s.h));
    host.RunTicks(3);
    EXPECT_TRUE(SameSize(WindowSize(x.Connection(), editor), s.w, s.h));
    if (s.answer != Answer::kRefuse && s.answer != Answer::kOldSizeThenNo)
    {
      EXPECT_EQ(0, PixelsOffLayout(editor, s.taken));
    }
  }

  EXPECT_EQ(kResultOk, view->removed());
  view->setFrame(nullptr);
  view->release();
  EXPECT_TRUE(x.Children(host.Parent()).empty());
  EXPECT_EQ(0, host.Timers() + host.EventHandlers());
}

// What a desktop at 192 dpi publishes in the server's resource database;
// gone again when the test ends.
class XftDpi
{
public:
  XftDpi(Display* display, const char* dpi) : mDisplay(display)
  {
    const std::string resources = std::string("Xft.dpi:\t") + dpi + "\n";
    XChangeProperty(mDisplay, DefaultRootWindow(mDisplay), XA_RESOURCE_MANAGER, XA_STRING, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(resources.c_str()),
                    static_cast<int>(resources.size()));
    XSync(mDisplay, False);
  }
  ~XftDpi()
  {
    XDeleteProperty(mDisplay, DefaultRootWindow(mDisplay), XA_RESOURCE_MANAGER);
    XSync(mDisplay, False);
  }

private:
  Display* mDisplay;
};

TEST_F(ViewLifeTest, withoutAHostFactorTheEditorFollowsXftDpiAndAHostFactorWins)
{
  QuirkHost host(HostHabits{"host"}, x.Connection());
  const XftDpi desktop(x.Connection(), "192");
  struct Case
  {
    const char* what;
    float hostFactor;  // 0: none
    int w, h;
  };
  const Case cases[] = {{"no factor from the host", 0.0f, 2324, 548},
                        {"the host's 1.5", 1.5f, 1743, 411}};
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    IPlugView* view = mPlugin->controller()->createView(ViewType::kEditor);
    ASSERT_NE(nullptr, view);
    if (c.hostFactor > 0.0f) FUnknownPtr<IPlugViewContentScaleSupport>(view)->setContentScaleFactor(c.hostFactor);
    view->setFrame(&host);
    host.resizeCalls.clear();
    ASSERT_EQ(kResultOk, view->attached(AsParent(host.Parent()), kPlatformTypeX11EmbedWindowID));
    ViewRect size;
    view->getSize(&size);
    EXPECT_TRUE(SameSize(size, c.w, c.h));
    EXPECT_TRUE(SameSize(WindowSize(x.Connection(), OnlyChild(host.Parent())), c.w, c.h));
    // Told at attached, the host hears the new size through its frame.
    EXPECT_EQ(c.hostFactor > 0.0f ? 0u : 1u, host.resizeCalls.size());
    EXPECT_EQ(kResultOk, view->removed());
    view->setFrame(nullptr);
    view->release();
  }
}

TEST_F(ViewLifeTest, openingAndClosingAtMixedFactorsLeavesNothingBehind)
{
  QuirkHost host(HostHabits{"host"}, x.Connection());
  for (float factor : {2.0f, 1.0f, 1.75f, 3.0f, 1.25f})
  {
    SCOPED_TRACE(factor);
    IPlugView* view = mPlugin->controller()->createView(ViewType::kEditor);
    ASSERT_NE(nullptr, view);
    FUnknownPtr<IPlugViewContentScaleSupport> scaling(view);
    view->setFrame(&host);
    scaling->setContentScaleFactor(factor);
    ASSERT_EQ(kResultOk, view->attached(AsParent(host.Parent()), kPlatformTypeX11EmbedWindowID));
    host.RunTicks(2);
    scaling->setContentScaleFactor(factor == 1.0f ? 2.0f : 1.0f);
    host.RunTicks(2);
    EXPECT_EQ(kResultOk, view->removed());
    view->setFrame(nullptr);
    view->release();
    EXPECT_TRUE(x.Children(host.Parent()).empty());
    EXPECT_EQ(0, host.Timers() + host.EventHandlers());
  }
}

HostHabits Habit(const char* name, void (*set)(HostHabits&))
{
  HostHabits h;
  h.name = name;
  set(h);
  return h;
}

INSTANTIATE_TEST_SUITE_P(
    LinuxHosts, HostHabitsTest,
    testing::Values(
        Habit("sdk_convention", [](HostHabits&) {}),
        Habit("fd_watch_fires_once", [](HostHabits& h) { h.fdFiresOnce = true; }),
        Habit("select_misses_highest_fd", [](HostHabits& h) { h.selectMissesHighest = true; }),
        Habit("idle_polls_fd_with_nothing_to_read", [](HostHabits& h) {
          h.idlePollsFd = true;
          h.tickMs = 20;
        }),
        Habit("no_fd_support", [](HostHabits& h) { h.noFdSupport = true; }),
        Habit("ticks_of_30ms", [](HostHabits& h) { h.tickMs = 30; }),
        Habit("frame_gone_before_removed", [](HostHabits& h) { h.frameGoneBeforeRemoved = true; }),
        Habit("released_without_removed", [](HostHabits& h) { h.releaseWithoutRemoved = true; }),
        Habit("unmapped_parent", [](HostHabits& h) { h.unmappedParent = true; }),
        Habit("xembed_embedder_checks_info", [](HostHabits& h) { h.xembedChecksInfo = true; })),
    [](const testing::TestParamInfo<HostHabits>& info) { return std::string(info.param.name); });

}  // namespace
