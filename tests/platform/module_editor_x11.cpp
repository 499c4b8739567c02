// The built Morvex.vst3's editor as a Linux DAW meets it: the view opens in
// the host's window and lives on the host's run loop, the screen shows the
// module's own pictures, and the server's pointer events reach the host's
// component handler as edits in complete gestures.
#include "tests/host/EditorScreen.h"
#include "tests/host/ModuleFixture.h"
#include "tests/platform/X11Fixture.h"

#include "engine/Morvex.h"
#include "engine/MorvexEditor.h"
#include "raster/LICE_PNG.h"
#include "tools/host/RunLoop_linux.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <dlfcn.h>

#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using Edit = host::ComponentHandler::Edit;

namespace
{
constexpr int kWidth = MorvexEditor::kWidth;
constexpr int kHeight = MorvexEditor::kHeight;

void* AsParent(Window window) { return reinterpret_cast<void*>(window); }

// A frame without a run loop, as older hosts give.
class PlainFrame : public IPlugFrame
{
public:
  virtual ~PlainFrame() = default;
  tresult PLUGIN_API resizeView(IPlugView*, ViewRect*) override { return kResultFalse; }
  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
  {
    *obj = nullptr;
    if (!FUnknownPrivate::iidEqual(iid, IPlugFrame::iid)) return kNoInterface;
    *obj = this;
    return kResultOk;
  }
  uint32 PLUGIN_API addRef() override { return 1; }
  uint32 PLUGIN_API release() override { return 1; }
};

class ModuleEditorX11 : public MorvexModuleTest
{
protected:
  void SetUp() override
  {
    MorvexModuleTest::SetUp();
    if (HasFatalFailure()) return;
    if (!x.Connection()) GTEST_SKIP() << "no X display with XTEST: run under xvfb-run";
    mHostWindow = x.NewHostWindow();
    mView = mPlugin->controller()->createView(ViewType::kEditor);
    ASSERT_NE(nullptr, mView);
  }
  void TearDown() override
  {
    if (mView)
    {
      if (mOpen) mView->removed();
      mView->setFrame(nullptr);
      mView->release();
    }
    EXPECT_EQ(0, frame.EventHandlers());
    EXPECT_EQ(0, frame.Timers());
    MorvexModuleTest::TearDown();
  }

  void Open()
  {
    mView->setFrame(&frame);
    ASSERT_EQ(kResultOk, mView->attached(AsParent(mHostWindow), kPlatformTypeX11EmbedWindowID));
    mOpen = true;
    const std::vector<Window> children = x.Children(mHostWindow);
    ASSERT_EQ(1u, children.size());
    mEditor = children[0];
    frame.Run(100);
  }
  // The pointer to the centre of a parameter's control, offset by dy, all
  // in layout pixels; the screen's are those times the editor's factor.
  void PointAt(int param, int dy = 0)
  {
    const auto& c = SpecFor(param);
    x.MoveTo(mEditor, ScaledLength(c.left + c.frameWidth / 2, mScale),
             ScaledLength(c.top + c.frameHeight / 2 + dy, mScale));
    frame.Run(20);
  }
  void Click(unsigned button)
  {
    x.Click(button);
    frame.Run(20);
  }
  double Normalized(int param) { return mPlugin->controller()->getParamNormalized(param); }
  void ExpectOneGesture(const std::vector<Edit>& edits, int param)
  {
    ASSERT_EQ(3u, edits.size());
    EXPECT_EQ(Edit::kBegin, edits[0].kind);
    EXPECT_EQ(Edit::kPerform, edits[1].kind);
    EXPECT_EQ(Edit::kEnd, edits[2].kind);
    for (const Edit& e : edits) EXPECT_EQ(ParamID(param), e.id);
  }

  X11Session x;
  host::RunLoopFrame frame;
  Window mHostWindow = 0;
  IPlugView* mView = nullptr;
  bool mOpen = false;
  Window mEditor = 0;
  double mScale = 1.0;
};

TEST_F(ModuleEditorX11, viewOpensAsAnX11EditorOnlyWithTheHostsRunLoop)
{
  EXPECT_EQ(kResultOk, mView->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID));
  for (FIDString other : {kPlatformTypeHWND, kPlatformTypeNSView, kPlatformTypeHIView})
    EXPECT_EQ(kResultFalse, mView->isPlatformTypeSupported(other)) << other;
  ViewRect size;
  ASSERT_EQ(kResultOk, mView->getSize(&size));
  EXPECT_EQ(kWidth, size.getWidth());
  EXPECT_EQ(kHeight, size.getHeight());

  // No frame, a frame with no run loop, a parent that is no window: each is
  // refused, and nothing is left open or registered.
  PlainFrame plain;
  struct Attempt
  {
    const char* what;
    IPlugFrame* frame;
    Window parent;
  };
  const Attempt attempts[] = {{"no frame", nullptr, mHostWindow},
                              {"no run loop", &plain, mHostWindow},
                              {"no window", &frame, Window(0x7ffffff)}};
  for (const Attempt& a : attempts)
  {
    SCOPED_TRACE(a.what);
    mView->setFrame(a.frame);
    EXPECT_EQ(kResultFalse, mView->attached(AsParent(a.parent), kPlatformTypeX11EmbedWindowID));
    EXPECT_TRUE(x.Children(mHostWindow).empty());
    EXPECT_EQ(0, frame.EventHandlers());
    EXPECT_EQ(0, frame.Timers());
  }

  // Open: one connection and one timer with the host's loop, until removed.
  Open();
  EXPECT_EQ(1, frame.EventHandlers());
  EXPECT_EQ(1, frame.Timers());
  EXPECT_EQ(kResultOk, mView->removed());
  mOpen = false;
  EXPECT_TRUE(x.Children(mHostWindow).empty());
}

TEST_F(ModuleEditorX11, screenShowsTheBackgroundWithEachControlsFrameForItsValueAtEachFactor)
{
  ASSERT_TRUE(ProcessFirstBlockWithSettings(*mPlugin));
  // A factor given before attached: the window opens at that size, drawn
  // from the double-size pictures (resampled unless the factor is 2).
  for (double scale : {1.0, 2.0, 1.5})
  {
    SCOPED_TRACE(scale);
    FUnknownPtr<IPlugViewContentScaleSupport> scaling(mView);
    ASSERT_TRUE(scaling);
    EXPECT_EQ(kResultTrue, scaling->setContentScaleFactor(static_cast<float>(scale)));
    ViewRect size;
    ASSERT_EQ(kResultOk, mView->getSize(&size));
    const int w = ScaledLength(kWidth, scale), h = ScaledLength(kHeight, scale);
    ASSERT_EQ(w, size.getWidth());
    ASSERT_EQ(h, size.getHeight());
    mHostWindow = x.NewHostWindow(w, h);
    Open();
    frame.Run(200);
    // The module's embedded pictures are the source tree's files.
    EXPECT_EQ(0, PixelsDifferingFromLayout(x.ReadWindow(mEditor, w, h), *mPlugin,
                                           SourceTreePictures(MORVEX_SOURCE_DIR), scale));
    EXPECT_EQ(kResultOk, mView->removed());
    mOpen = false;
  }
}

TEST_F(ModuleEditorX11, serverPointerEventsReachTheHostAsEditsInCompleteGesturesAtEachFactor)
{
  // At 2 the same moves in layout pixels are twice as many screen pixels,
  // and give the same edits.
  for (double scale : {1.0, 2.0})
  {
    SCOPED_TRACE(scale);
    mScale = scale;
    FUnknownPtr<IPlugViewContentScaleSupport>(mView)->setContentScaleFactor(static_cast<float>(scale));
    mHostWindow = x.NewHostWindow(ScaledLength(kWidth, scale), ScaledLength(kHeight, scale));
    Open();
    host::ComponentHandler& handler = mPlugin->handler();
    handler.clear();
    const double bypass = Normalized(Morvex::kEQBypass);

    // Press, drag 20 pixels up, release on "Low Gain" (80 pixels high, gearing 4).
    PointAt(Morvex::kLowGain);
    x.Button(Button1, true);
    frame.Run(20);
    PointAt(Morvex::kLowGain, -20);
    x.Button(Button1, false);
    frame.Run(20);
    ExpectOneGesture(handler.edits(), Morvex::kLowGain);
    EXPECT_DOUBLE_EQ(0.5 + 20.0 / 80.0 / 4.0, handler.edits()[1].value);
    EXPECT_DOUBLE_EQ(0.5625, Normalized(Morvex::kLowGain));

    // A click toggles "EQ Bypass".
    PointAt(Morvex::kEQBypass);
    Click(Button1);
    EXPECT_EQ(1.0 - bypass, Normalized(Morvex::kEQBypass));

    // A wheel notch down, then a double click back to the default.
    PointAt(Morvex::kLowGain);
    handler.clear();
    Click(Button5);
    ExpectOneGesture(handler.edits(), Morvex::kLowGain);
    EXPECT_NEAR(0.5525, Normalized(Morvex::kLowGain), 1e-12);
    Click(Button1);
    handler.clear();
    Click(Button1);
    ExpectOneGesture(handler.edits(), Morvex::kLowGain);
    EXPECT_EQ(0.5, Normalized(Morvex::kLowGain));
    EXPECT_EQ(kResultOk, mView->removed());
    mOpen = false;
    frame.Run(600);  // no double click across the two rounds
  }
}

TEST_F(ModuleEditorX11, theNamePlateReadsADragAsItHappensAndGoesOneAndAHalfSecondsAfter)
{
  ASSERT_TRUE(ProcessFirstBlockWithSettings(*mPlugin));
  Open();
  auto screenIs = [&](int readoutParam) {
    return PixelsDifferingFromLayout(x.ReadWindow(mEditor, kWidth, kHeight), *mPlugin,
                                     SourceTreePictures(MORVEX_SOURCE_DIR), 1.0, readoutParam);
  };
  EXPECT_EQ(0, screenIs(-1));  // at rest, the panel's own plate

  // Pressed and dragged: the plate reads "LOW GAIN" and the value as it goes.
  PointAt(Morvex::kLowGain);
  x.Button(Button1, true);
  frame.Run(100);
  EXPECT_EQ(0, screenIs(Morvex::kLowGain));
  const std::vector<uint32_t> before = x.ReadWindow(mEditor, kWidth, kHeight);
  PointAt(Morvex::kLowGain, -20);
  frame.Run(100);
  EXPECT_EQ(0, screenIs(Morvex::kLowGain));
  EXPECT_NE(before, x.ReadWindow(mEditor, kWidth, kHeight));

  // Released, and the pointer off the controls: it stays a while, follows
  // the host's automation meanwhile, then goes, and the host does not bring it back.
  x.Button(Button1, false);
  x.MoveTo(mEditor, 560, 138);
  frame.Run(500);
  EXPECT_EQ(0, screenIs(Morvex::kLowGain));
  ASSERT_TRUE(ProcessBlockWithChange(*mPlugin, Morvex::kLowGain, 0.25));
  frame.Run(100);
  EXPECT_EQ(0, screenIs(Morvex::kLowGain));
  frame.Run(1000);
  EXPECT_EQ(0, screenIs(-1));
  ASSERT_TRUE(ProcessBlockWithChange(*mPlugin, Morvex::kHighGain, 0.9));
  frame.Run(100);
  EXPECT_EQ(0, screenIs(-1));
}

TEST_F(ModuleEditorX11, editorsOpenedClosedReopenedAndTwoAtOnceLeaveNothingBehind)
{
  // A second instance in a second host window, both open at once.
  std::string error;
  auto other = host::PluginInstance::Create(*sModule, mHost, error);
  ASSERT_NE(nullptr, other) << error;
  const Window otherHost = x.NewHostWindow();
  IPlugView* otherView = other->controller()->createView(ViewType::kEditor);
  ASSERT_NE(nullptr, otherView);
  otherView->setFrame(&frame);
  ASSERT_EQ(kResultOk, otherView->attached(AsParent(otherHost), kPlatformTypeX11EmbedWindowID));
  Open();
  EXPECT_EQ(2, frame.EventHandlers());
  EXPECT_EQ(2, frame.Timers());
  EXPECT_EQ(1u, x.Children(otherHost).size());

  // Closed and reopened in the same window.
  for (int round = 0; round < 2; ++round)
  {
    ASSERT_EQ(kResultOk, mView->removed());
    EXPECT_TRUE(x.Children(mHostWindow).empty());
    EXPECT_EQ(1, frame.Timers());
    ASSERT_EQ(kResultOk, mView->attached(AsParent(mHostWindow), kPlatformTypeX11EmbedWindowID));
    EXPECT_EQ(1u, x.Children(mHostWindow).size());
    EXPECT_EQ(2, frame.EventHandlers());
    frame.Run(60);
  }

  // The host destroys its window before removing the view: the editor
  // hears of it and closes quietly.
  x.DestroyWindow(otherHost);
  frame.Run(60);
  EXPECT_EQ(kResultOk, otherView->removed());
  EXPECT_EQ(1, frame.Timers());
  otherView->setFrame(nullptr);
  otherView->release();

  // A host that releases an attached view without removing it.
  mView->release();
  mView = nullptr;
  mOpen = false;
  EXPECT_TRUE(x.Children(mHostWindow).empty());
  EXPECT_EQ(0, frame.EventHandlers());
  EXPECT_EQ(0, frame.Timers());
}

}  // namespace

namespace
{
// A host that unloads the module while an editor is still attached, its
// plug-in and view never released: the unload takes the window, the timer
// and the event handler along, and the module really is gone.
TEST(ModuleUnloadX11, unloadingWithAnEditorOpenLeavesNothingBehind)
{
  X11Session x;
  if (!x.Connection()) GTEST_SKIP() << "no X display with XTEST: run under xvfb-run";
  const Window hostWindow = x.NewHostWindow();
  host::RunLoopFrame frame;
  host::HostApplication hostApp;
  std::string error;
  auto module = host::VstModule::Load(MORVEX_MODULE_PATH, error);
  ASSERT_NE(nullptr, module) << error;
  const std::string binary = module->binaryPath();
  auto plugin = host::PluginInstance::Create(*module, hostApp, error);
  ASSERT_NE(nullptr, plugin) << error;
  IPlugView* view = plugin->controller()->createView(ViewType::kEditor);
  ASSERT_NE(nullptr, view);
  view->setFrame(&frame);
  ASSERT_EQ(kResultOk, view->attached(AsParent(hostWindow), kPlatformTypeX11EmbedWindowID));
  frame.Run(60);
  ASSERT_EQ(1u, x.Children(hostWindow).size());

  plugin.release();  // leaked on purpose, as the host forgot it
  module.reset();
  EXPECT_EQ(nullptr, dlopen(binary.c_str(), RTLD_LAZY | RTLD_NOLOAD));
  EXPECT_TRUE(x.Children(hostWindow).empty());
  EXPECT_EQ(0, frame.EventHandlers());
  EXPECT_EQ(0, frame.Timers());
  frame.Run(60);  // nothing is called any more
}
}  // namespace
