// The built Morvex.vst3's editor as a DAW meets it: the view, the window it
// opens in the host's, what the screen shows, and mouse input reaching the
// host's component handler as edits and gestures.
#include "tests/host/EditorScreen.h"
#include "tests/host/ModuleFixture.h"
#include "tests/platform/WindowFixture.h"

#include "engine/Morvex.h"
#include "engine/MorvexEditor.h"
#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNGResource.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <windows.h>

using namespace Steinberg;
using namespace Steinberg::Vst;
using Edit = host::ComponentHandler::Edit;

namespace {

constexpr int kWidth = MorvexEditor::kWidth;
constexpr int kHeight = MorvexEditor::kHeight;

// The module's own handle, now that the host has loaded it.
HMODULE LoadedModule()
{
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, "Morvex.vst3", &module);
  return module;
}

// A control's picture as the module's resources hold it; the double-size
// version under its number plus 100.
LICE_IBitmap* ResourcePicture(const MorvexEditor::ControlSpec& c, bool doubleSize)
{
  return LICE_LoadPNGResource(reinterpret_cast<LICE_HINSTANCE>(LoadedModule()),
                              c.resourceId + (doubleSize ? 100 : 0), c.file);
}

class ModuleEditor : public MorvexModuleTest
{
protected:
  void SetUp() override
  {
    MorvexModuleTest::SetUp();
    if (HasFatalFailure()) return;
    mView = mPlugin->controller()->createView(ViewType::kEditor);
    ASSERT_NE(nullptr, mView);
  }
  void TearDown() override
  {
    if (mView)
    {
      if (mOpen) mView->removed();
      mView->release();
    }
    MorvexModuleTest::TearDown();
  }

  void Open()
  {
    ASSERT_EQ(kResultOk, mView->attached(mHostWindow.Handle(), kPlatformTypeHWND));
    mOpen = true;
    mEditor = FindWindowExA(mHostWindow.Handle(), nullptr, "IPlugWndClass", nullptr);
    ASSERT_NE(nullptr, mEditor);
  }
  // A mouse message at the centre of a parameter's control, offset by dy.
  // In layout pixels; the window's are those times the editor's factor.
  void Mouse(UINT msg, WPARAM keys, int param, int dy = 0)
  {
    const auto& c = SpecFor(param);
    SendMessageA(mEditor, msg, keys,
                 MAKELPARAM(ScaledLength(c.left + c.frameWidth / 2, mScale),
                            ScaledLength(c.top + c.frameHeight / 2 + dy, mScale)));
  }
  void Wheel(int param, short delta)
  {
    const auto& c = SpecFor(param);
    SendMessageA(mEditor, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)),
                 ScreenPoint(mEditor, ScaledLength(c.left + c.frameWidth / 2, mScale),
                             ScaledLength(c.top + c.frameHeight / 2, mScale)));
  }
  double Normalized(int param) { return mPlugin->controller()->getParamNormalized(param); }

  HostWindow mHostWindow;
  IPlugView* mView = nullptr;
  bool mOpen = false;
  HWND mEditor = nullptr;
  double mScale = 1.0;
};

TEST_F(ModuleEditor, viewOpensOnlyAsHwndEditorOfTheBackgroundsSize)
{
  EXPECT_EQ(nullptr, mPlugin->controller()->createView("Editor"));
  EXPECT_EQ(kResultOk, mView->isPlatformTypeSupported(kPlatformTypeHWND));
  for (FIDString other : {kPlatformTypeNSView, kPlatformTypeX11EmbedWindowID, kPlatformTypeHIView})
    EXPECT_EQ(kResultFalse, mView->isPlatformTypeSupported(other)) << other;
  ViewRect size;
  ASSERT_EQ(kResultOk, mView->getSize(&size));
  EXPECT_EQ(0, size.left);
  EXPECT_EQ(0, size.top);
  EXPECT_EQ(kWidth, size.right);
  EXPECT_EQ(kHeight, size.bottom);
  // A parent that is no window leaves the editor closed, and says so.
  EXPECT_EQ(kResultFalse, mView->attached(reinterpret_cast<void*>(0x1234), kPlatformTypeHWND));
}

TEST_F(ModuleEditor, screenShowsTheBackgroundWithEachControlsFrameForItsValue)
{
  ASSERT_TRUE(ProcessFirstBlockWithSettings(*mPlugin));
  Open();
  Pump(300);
  // The same pictures, read from the module's resources.
  const int differing = PixelsDifferingFromLayout(
      ReadWindow(mEditor, kWidth, kHeight), *mPlugin, ResourcePicture);
  EXPECT_EQ(0, differing);
}

TEST_F(ModuleEditor, mouseMessagesReachTheHostAsEditsInCompleteGesturesAtEachFactor)
{
  // At 2 the same moves in layout pixels are twice as many window pixels,
  // and give the same edits.
  host::ComponentHandler& handler = mPlugin->handler();
  for (double scale : {1.0, 2.0})
  {
    SCOPED_TRACE(scale);
    mScale = scale;
    FUnknownPtr<IPlugViewContentScaleSupport>(mView)->setContentScaleFactor(static_cast<float>(scale));
    Open();
    handler.clear();
    const double bypass = Normalized(Morvex::kEQBypass);

    // Press, drag 20 pixels up, release on "Low Gain" (80 pixels high, gearing 4).
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, Morvex::kLowGain);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, Morvex::kLowGain, -20);
    Mouse(WM_LBUTTONUP, 0, Morvex::kLowGain, -20);
    std::vector<Edit> edits = handler.edits();
    ASSERT_EQ(3u, edits.size());
    EXPECT_EQ(Edit::kBegin, edits[0].kind);
    EXPECT_EQ(Edit::kPerform, edits[1].kind);
    EXPECT_EQ(Edit::kEnd, edits[2].kind);
    for (const Edit& e : edits) EXPECT_EQ(ParamID(Morvex::kLowGain), e.id);
    EXPECT_DOUBLE_EQ(0.5 + 20.0 / 80.0 / 4.0, edits[1].value);
    EXPECT_DOUBLE_EQ(edits[1].value, Normalized(Morvex::kLowGain));

    // A click toggles "EQ Bypass".
    handler.clear();
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, Morvex::kEQBypass);
    Mouse(WM_LBUTTONUP, 0, Morvex::kEQBypass);
    EXPECT_EQ(1.0 - bypass, Normalized(Morvex::kEQBypass));

    // The wheel in whole notches and a double click back to the default, each
    // one gesture of its own.
    struct Step
    {
      const char* what;
      int edits;
      double value;
    };
    const Step steps[] = {{"wheel -240", 3, 0.5425}, {"wheel 60", 0, 0.5425}, {"double click", 3, 0.5}};
    for (const Step& s : steps)
    {
      SCOPED_TRACE(s.what);
      handler.clear();
      const std::string what = s.what;
      if (what == "wheel -240") Wheel(Morvex::kLowGain, -240);
      if (what == "wheel 60") Wheel(Morvex::kLowGain, 60);
      if (what == "double click")
      {
        Mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, Morvex::kLowGain);
        Mouse(WM_LBUTTONUP, 0, Morvex::kLowGain);
      }
      edits = handler.edits();
      ASSERT_EQ(static_cast<size_t>(s.edits), edits.size());
      if (s.edits == 3)
      {
        EXPECT_EQ(Edit::kBegin, edits[0].kind);
        EXPECT_EQ(Edit::kPerform, edits[1].kind);
        EXPECT_EQ(Edit::kEnd, edits[2].kind);
      }
      EXPECT_NEAR(s.value, Normalized(Morvex::kLowGain), 1e-12);
    }
    EXPECT_EQ(kResultOk, mView->removed());
    mOpen = false;
  }
}

TEST_F(ModuleEditor, theNamePlateReadsADragAsItHappensAndGoesOneAndAHalfSecondsAfter)
{
  ASSERT_TRUE(ProcessFirstBlockWithSettings(*mPlugin));
  Open();
  Pump(200);
  auto screenIs = [&](int readoutParam) {
    return PixelsDifferingFromLayout(ReadWindow(mEditor, kWidth, kHeight), *mPlugin, ResourcePicture,
                                     1.0, readoutParam);
  };
  EXPECT_EQ(0, screenIs(-1));  // at rest, the panel's own plate

  // The cursor goes where the messages say, so that leaving is tracked truly.
  auto moveTo = [&](int x, int y, WPARAM keys) {
    POINT p = {x, y};
    ClientToScreen(mEditor, &p);
    SetCursorPos(p.x, p.y);
    SendMessageA(mEditor, WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
  };
  const auto& c = SpecFor(Morvex::kLowGain);
  const int cx = c.left + c.frameWidth / 2, cy = c.top + c.frameHeight / 2;
  // Pressed and dragged: the plate reads "LOW GAIN" and the value as it goes.
  moveTo(cx, cy, 0);
  SendMessageA(mEditor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cx, cy));
  Pump(100);
  EXPECT_EQ(0, screenIs(Morvex::kLowGain));
  const std::vector<uint32_t> before = ReadWindow(mEditor, kWidth, kHeight);
  moveTo(cx, cy - 20, MK_LBUTTON);
  Pump(100);
  EXPECT_EQ(0, screenIs(Morvex::kLowGain));
  EXPECT_NE(before, ReadWindow(mEditor, kWidth, kHeight));

  // Released, and the pointer off the controls: it stays a while, follows
  // the host's automation meanwhile, then goes, and the host does not bring it back.
  SendMessageA(mEditor, WM_LBUTTONUP, 0, MAKELPARAM(cx, cy - 20));
  moveTo(560, 138, 0);
  Pump(500);
  EXPECT_EQ(0, screenIs(Morvex::kLowGain));
  ASSERT_TRUE(ProcessBlockWithChange(*mPlugin, Morvex::kLowGain, 0.25));
  Pump(100);
  EXPECT_EQ(0, screenIs(Morvex::kLowGain));
  Pump(1000);
  EXPECT_EQ(0, screenIs(-1));
  ASSERT_TRUE(ProcessBlockWithChange(*mPlugin, Morvex::kHighGain, 0.9));
  Pump(100);
  EXPECT_EQ(0, screenIs(-1));
}

TEST_F(ModuleEditor, aSecondViewTakesTheWindowAndOnlyTheHolderClosesIt)
{
  ASSERT_TRUE(ProcessFirstBlockWithSettings(*mPlugin));
  Open();
  HostWindow secondHost;
  IPlugView* second = mPlugin->controller()->createView(ViewType::kEditor);
  ASSERT_NE(nullptr, second);
  ASSERT_EQ(kResultOk, second->attached(secondHost.Handle(), kPlatformTypeHWND));
  // The one editor window moved to the second view's parent.
  EXPECT_EQ(nullptr, FindWindowExA(mHostWindow.Handle(), nullptr, "IPlugWndClass", nullptr));
  HWND editor = FindWindowExA(secondHost.Handle(), nullptr, "IPlugWndClass", nullptr);
  ASSERT_NE(nullptr, editor);

  // Removing the first view leaves it open, drawing what the host changes.
  EXPECT_EQ(kResultOk, mView->removed());
  mOpen = false;
  EXPECT_TRUE(IsWindow(editor));
  ASSERT_TRUE(ProcessBlockWithChange(*mPlugin, Morvex::kLowGain, 0.3));
  Pump(200);
  const int differing = PixelsDifferingFromLayout(
      ReadWindow(editor, kWidth, kHeight), *mPlugin, ResourcePicture);
  EXPECT_EQ(0, differing);

  // The holder closes it.
  EXPECT_EQ(kResultOk, second->removed());
  EXPECT_FALSE(IsWindow(editor));
  second->release();
}

// A host's frame that resizes its window to what the view asks and tells
// the view, recording each request and the size the view had meanwhile.
class ResizingFrame : public IPlugFrame
{
public:
  explicit ResizingFrame(HWND window) : mWindow(window) {}
  virtual ~ResizingFrame() = default;
  tresult PLUGIN_API resizeView(IPlugView* view, ViewRect* size) override
  {
    if (!view || !size) return kInvalidArgument;
    ViewRect during;
    view->getSize(&during);
    asked.push_back(*size);
    sizesDuring.push_back(during);
    SetWindowPos(mWindow, nullptr, 0, 0, size->getWidth() + 40, size->getHeight() + 60,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return view->onSize(size);
  }
  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
  {
    *obj = nullptr;
    if (!FUnknownPrivate::iidEqual(iid, IPlugFrame::iid)) return kNoInterface;
    *obj = this;
    return kResultOk;
  }
  uint32 PLUGIN_API addRef() override { return 1; }
  uint32 PLUGIN_API release() override { return 1; }

  std::vector<ViewRect> asked, sizesDuring;

private:
  HWND mWindow;
};

SIZE ClientSize(HWND window)
{
  RECT r;
  GetClientRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

TEST_F(ModuleEditor, eachFactorShowsTheDoubleSizePicturesAndANewOneWhileOpenGoesThroughTheFrame)
{
  ASSERT_TRUE(ProcessFirstBlockWithSettings(*mPlugin));
  FUnknownPtr<IPlugViewContentScaleSupport> scaling(mView);
  ASSERT_TRUE(scaling);
  HostWindow big(3500, 1000);
  ResizingFrame frame(big.Handle());
  mView->setFrame(&frame);
  // Given before attached, the factor is the size the window opens at.
  for (double scale : {2.0, 1.5, 1.0})
  {
    SCOPED_TRACE(scale);
    EXPECT_EQ(kResultTrue, scaling->setContentScaleFactor(static_cast<float>(scale)));
    ASSERT_EQ(kResultOk, mView->attached(big.Handle(), kPlatformTypeHWND));
    HWND editor = FindWindowExA(big.Handle(), nullptr, "IPlugWndClass", nullptr);
    ASSERT_NE(nullptr, editor);
    const int w = ScaledLength(kWidth, scale), h = ScaledLength(kHeight, scale);
    EXPECT_EQ(w, ClientSize(editor).cx);
    EXPECT_EQ(h, ClientSize(editor).cy);
    Pump(200);
    EXPECT_EQ(0, PixelsDifferingFromLayout(ReadWindow(editor, w, h), *mPlugin, ResourcePicture, scale));
    EXPECT_EQ(kResultOk, mView->removed());
  }
  EXPECT_TRUE(frame.asked.empty());

  // While open: the host is asked for the new size while the view keeps its
  // old one, and the window takes it with the host's onSize.
  ASSERT_EQ(kResultOk, mView->attached(big.Handle(), kPlatformTypeHWND));
  HWND editor = FindWindowExA(big.Handle(), nullptr, "IPlugWndClass", nullptr);
  EXPECT_EQ(kResultTrue, scaling->setContentScaleFactor(2.0f));
  ASSERT_EQ(1u, frame.asked.size());
  EXPECT_EQ(2324, frame.asked[0].getWidth());
  EXPECT_EQ(548, frame.asked[0].getHeight());
  EXPECT_EQ(kWidth, frame.sizesDuring[0].getWidth());
  EXPECT_EQ(2324, ClientSize(editor).cx);
  EXPECT_EQ(548, ClientSize(editor).cy);
  Pump(200);
  EXPECT_EQ(0, PixelsDifferingFromLayout(ReadWindow(editor, 2324, 548), *mPlugin, ResourcePicture, 2.0));
  EXPECT_EQ(kResultOk, mView->removed());
  mView->setFrame(nullptr);
}

}  // namespace
