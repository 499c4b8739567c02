// The editor in a real Win32 child window: the shared window class, what the
// screen shows, window messages turned into edits, the value-entry field and
// keys that belong to the host.
#include <gtest/gtest.h>

#include "graphics/IBitmapControl.h"
#include "graphics/IKnobControl.h"
#include "platform/win/IGraphicsWin.h"
#include "raster/LICE_SysBitmap.h"
#include "tests/graphics/EditorFixture.h"
#include "tests/platform/WindowFixture.h"
#include "tests/platform/desktop_support.h"

#include <windowsx.h>

#include <memory>

namespace
{
constexpr int kWidth = SmallEditor::kWidth;
constexpr int kHeight = SmallEditor::kHeight;

// An editor window whose pictures are made in memory.
class TestWin : public IGraphicsWin
{
public:
  explicit TestWin(IPlugBase* plug)
    : IGraphicsWin(plug, kWidth, kHeight, kDefaultFps, GetModuleHandleA(nullptr))
  {
  }
  LICE_IBitmap* LoadResourceImage(int id, const char*) override { return SmallEditor::Picture(id); }
};

// The small editor in a window.
struct Editor
{
  EditPlug plug;
  TestWin* graphics = new TestWin(&plug);
  SmallEditor controls{*graphics, plug};
  IKnobMultiControl* knob = controls.knob;
  ISwitchControl* toggle = controls.toggle;

  HWND Window() { return static_cast<HWND>(graphics->GetWindowHandle()); }
  LRESULT Send(UINT msg, WPARAM wParam, int x, int y)
  {
    return SendMessageA(Window(), msg, wParam, MAKELPARAM(x, y));
  }
};

// One host window for all: top-level windows are slow to make under Wine.
class WindowTest : public testing::Test
{
protected:
  static void SetUpTestSuite() { sHost = new HostWindow; }
  static void TearDownTestSuite() { delete sHost; }
  void SetUp() override { sHost->keysDown.clear(); }
  void TearDown() override { IGraphics::ReleaseModuleCaches(); }

  static HostWindow* sHost;
  HostWindow& host = *sHost;
};
HostWindow* WindowTest::sHost = nullptr;

bool ClassRegistered()
{
  WNDCLASSA wc;
  return GetClassInfoA(GetModuleHandleA(nullptr), IGraphicsWin::kWindowClass, &wc) != 0;
}

TEST_F(WindowTest, editorsShareOneWindowClassWhileAnyIsOpen)
{
  Editor first, second;
  ASSERT_NE(nullptr, first.graphics->OpenWindow(host.Handle()));
  ASSERT_NE(nullptr, second.graphics->OpenWindow(host.Handle()));
  EXPECT_EQ(2, IGraphicsWin::WindowClassUsers());
  first.graphics->CloseWindow();
  EXPECT_TRUE(ClassRegistered());
  EXPECT_FALSE(first.graphics->HasWindow());
  second.graphics->CloseWindow();
  EXPECT_FALSE(ClassRegistered());
  EXPECT_EQ(0, IGraphicsWin::WindowClassUsers());

  // A window that cannot be made gives the class back.
  EXPECT_EQ(nullptr, first.graphics->OpenWindow(reinterpret_cast<void*>(0x1234)));
  EXPECT_EQ(0, IGraphicsWin::WindowClassUsers());
}

TEST_F(WindowTest, editorWhoseParentTheHostDestroyedCanOpenAgain)
{
  Editor e;
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200,
                                host.Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, e.graphics->OpenWindow(parent));
  DestroyWindow(parent);  // before the editor is closed, as some hosts do
  EXPECT_FALSE(e.graphics->HasWindow());
  EXPECT_EQ(0, IGraphicsWin::WindowClassUsers());
  ASSERT_NE(nullptr, e.graphics->OpenWindow(host.Handle()));
  e.graphics->CloseWindow();
  EXPECT_EQ(0, IGraphicsWin::WindowClassUsers());
}

TEST_F(WindowTest, reopeningInTheSameParentKeepsPositionAndSize)
{
  Editor e;
  e.graphics->OpenWindow(host.Handle());
  MoveWindow(e.Window(), 15, 25, 180, 90, TRUE);
  e.graphics->OpenWindow(host.Handle());
  RECT r;
  GetWindowRect(e.Window(), &r);
  MapWindowPoints(HWND_DESKTOP, host.Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(15, r.left);
  EXPECT_EQ(25, r.top);
  EXPECT_EQ(180, r.right - r.left);
  EXPECT_EQ(90, r.bottom - r.top);
  EXPECT_EQ(1, IGraphicsWin::WindowClassUsers());
}

TEST_F(WindowTest, screenShowsTheDrawingSurface)
{
  Editor e;
  e.graphics->UpdateParameterControls(EditPlug::kGain, 0.8, true);
  e.graphics->UpdateParameterControls(EditPlug::kSwitch, 1.0, true);
  e.graphics->OpenWindow(host.Handle());
  Pump(200);  // a few timer ticks

  const std::vector<uint32_t> screen = ReadWindow(e.Window(), kWidth, kHeight);
  LICE_SysBitmap* surface = e.graphics->GetDrawBitmap();
  int differing = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      differing += screen[y * kWidth + x] != (surface->Pixels()[y * surface->RowSpan() + x] & 0xFFFFFF);
  EXPECT_EQ(0, differing);
  // The knob's frame for 0.8 is on the surface, not the background alone.
  std::unique_ptr<LICE_MemBitmap> background(SmallEditor::Picture(1));
  EXPECT_NE(background->Pixels()[40 * background->RowSpan() + 40] & 0xFFFFFF,
            screen[40 * kWidth + 40]);
}

TEST_F(WindowTest, mouseMessagesBecomeEditsAndGestures)
{
  Editor e;
  e.graphics->OpenWindow(host.Handle());
  // Press, drag 12 pixels up, release: one gesture ending at 0.5 + 12 / 60 / 4.
  e.Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 40);
  EXPECT_EQ(e.Window(), GetCapture());
  e.Send(WM_MOUSEMOVE, MK_LBUTTON, 20, 34);
  e.Send(WM_MOUSEMOVE, MK_LBUTTON, 20, 28);
  e.Send(WM_LBUTTONUP, 0, 20, 28);
  EXPECT_EQ(nullptr, GetCapture());
  ASSERT_EQ("bppe", e.plug.Kinds());
  EXPECT_DOUBLE_EQ(0.55, e.plug.events[2].value);
  EXPECT_DOUBLE_EQ(0.55, e.plug.GetParam(EditPlug::kGain)->NormalizedValue());

  // A click toggles the switch.
  e.Send(WM_LBUTTONDOWN, MK_LBUTTON, 110, 20);
  e.Send(WM_LBUTTONUP, 0, 110, 20);
  EXPECT_EQ(1.0, e.plug.GetParam(EditPlug::kSwitch)->Value());

  // Wheel deltas in whole notches of 120, each turn one gesture.
  struct Wheel
  {
    short delta;
    const char* kinds;
    double value;
  };
  const Wheel wheels[] = {{-240, "bpe", 0.53}, {60, "", 0.53}, {60, "bpe", 0.54}};
  for (const Wheel& w : wheels)
  {
    e.plug.events.clear();
    SendMessageA(e.Window(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(w.delta)),
                 ScreenPoint(e.Window(), 20, 20));
    EXPECT_EQ(w.kinds, e.plug.Kinds()) << w.delta;
    EXPECT_DOUBLE_EQ(w.value, e.knob->GetValue()) << w.delta;
  }

  // A double click restores the default learnt when the editor was attached.
  e.plug.events.clear();
  e.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 20, 20);
  e.Send(WM_LBUTTONUP, 0, 20, 20);
  EXPECT_EQ("bpe", e.plug.Kinds());
  EXPECT_DOUBLE_EQ(0.5, e.knob->GetValue());
}

TEST_F(WindowTest, keysTheEditorDoesNotTakeReachTheHostWindow)
{
  Editor e;
  e.graphics->OpenWindow(host.Handle());
  e.Send(WM_KEYDOWN, VK_F5, 0, 0);  // not an editor key
  e.Send(WM_KEYDOWN, 'A', 0, 0);    // an editor key no control takes
  EXPECT_EQ((std::vector<WPARAM>{VK_F5, 'A'}), host.keysDown);
}

// The value-entry field over the knob, opened as the right-click prompt does.
struct EntryEditor : Editor
{
  explicit EntryEditor(HWND parent)
  {
    graphics->OpenWindow(parent);
    graphics->OpenValueEntry(knob, knob->GetText(), IBox(10, 30, 50, 46), "0.00",
                             plug.GetParam(EditPlug::kGain));
  }
  HWND Field() { return graphics->EntryField(); }
  void Type(const char* text) { SetWindowTextA(Field(), text); }
};

TEST_F(WindowTest, valueEntryCommitsOrCancelsAtTheNextTick)
{
  struct Case
  {
    const char* how;
    bool commits;
  };
  const Case cases[] = {{"return", true}, {"escape", false}, {"press", true}, {"wheel", false}};
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.how);
    EntryEditor e(host.Handle());
    ASSERT_NE(nullptr, e.Field());
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(e.Field(), WM_GETFONT, 0, 0));
    EXPECT_NE(nullptr, font);
    e.Type("12");
    const std::string how = c.how;
    if (how == "return") SendMessageA(e.Field(), WM_KEYDOWN, VK_RETURN, 0);
    if (how == "escape") SendMessageA(e.Field(), WM_KEYDOWN, VK_ESCAPE, 0);
    if (how == "press") e.Send(WM_LBUTTONDOWN, MK_LBUTTON, 150, 80);
    if (how == "wheel")
      SendMessageA(e.Window(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), ScreenPoint(e.Window(), 20, 20));
    EXPECT_EQ("", e.plug.Kinds());  // nothing until the tick
    ASSERT_NE(nullptr, e.Field());

    Pump(120);
    EXPECT_EQ(nullptr, e.Field());
    EXPECT_EQ(0u, GetObjectType(font));  // the field's font went with it
    if (c.commits)
    {
      EXPECT_EQ((std::vector<HostEvent>{{'b', EditPlug::kGain, 0.0},
                                        {'p', EditPlug::kGain, 0.75},
                                        {'e', EditPlug::kGain, 0.0}}),
                e.plug.events);
      EXPECT_DOUBLE_EQ(12.0, e.plug.GetParam(EditPlug::kGain)->Value());
    }
    else
    {
      EXPECT_EQ("", e.plug.Kinds());
      EXPECT_DOUBLE_EQ(0.0, e.plug.GetParam(EditPlug::kGain)->Value());
    }
  }
}

TEST_F(WindowTest, redrawWhileTheFieldIsOpenLeavesItsControlUnpainted)
{
  EntryEditor e(host.Handle());
  Pump(120);
  const std::vector<uint32_t> before = ReadWindow(e.Window(), kWidth, kHeight);
  e.graphics->UpdateParameterControls(EditPlug::kGain, 0.9, true);  // as the host would
  e.graphics->UpdateParameterControls(EditPlug::kSwitch, 1.0, true);
  Pump(60);
  const std::vector<uint32_t> after = ReadWindow(e.Window(), kWidth, kHeight);
  // The switch shows its new frame; the knob under the field keeps its old one.
  const IBox& knob = e.knob->GetBox();
  const IBox& toggle = e.toggle->GetBox();
  int knobChanged = 0, toggleChanged = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
    {
      const bool changed = before[y * kWidth + x] != after[y * kWidth + x];
      if (knob.Contains(x, y) && !(x >= 10 && x < 51 && y >= 30 && y < 47)) knobChanged += changed;
      if (toggle.Contains(x, y)) toggleChanged += changed;
    }
  EXPECT_EQ(0, knobChanged);
  EXPECT_GT(toggleChanged, 0);
}
TEST_F(WindowTest, promptOffersAMenuOfTextsOrTheValueToTypeAndTakesTheChoiceAsOneGesture)
{
  Editor e;
  e.graphics->OpenWindow(host.Handle());
  auto* mode = new CountingControl(&e.plug, IBox(150, 60, 190, 90), EditPlug::kMode);
  e.graphics->AttachControl(mode);

  // A choice parameter: a menu of its texts with the current one checked.
  std::vector<std::string> checked;
  ModalActor actor([] { return FindVisibleWindow("#32768"); },
                   [&checked](HWND menuWindow) {
                     HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, 0x01E1, 0, 0));
                     for (int i = 0; i < GetMenuItemCount(menu); ++i)
                     {
                       char text[32] = "";
                       GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
                       if (GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED) checked.push_back(text);
                     }
                     for (int i = 0; i < 3; ++i) PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
                     PostMessageA(menuWindow, WM_CHAR, '\r', 0);
                   });
  e.graphics->AskParameterValue(mode, e.plug.GetParam(EditPlug::kMode), mode->GetBox());
  ASSERT_TRUE(actor.Finish());
  EXPECT_EQ(std::vector<std::string>{"Warm"}, checked);
  EXPECT_EQ(2.0, e.plug.GetParam(EditPlug::kMode)->Value());
  EXPECT_EQ("bpe", e.plug.Kinds());

  // A continuous parameter: the field opens with the value at its precision.
  e.plug.events.clear();
  e.plug.GetParam(EditPlug::kGain)->AssignPlain(3.25);
  e.graphics->AskParameterValue(e.knob, e.plug.GetParam(EditPlug::kGain), IBox(10, 30, 50, 46));
  ASSERT_NE(nullptr, e.graphics->EntryField());
  char text[33] = "";
  GetWindowTextA(e.graphics->EntryField(), text, sizeof text);
  EXPECT_STREQ("3.25", text);
  SetWindowTextA(e.graphics->EntryField(), "-6.5");
  SendMessageA(e.graphics->EntryField(), WM_KEYDOWN, VK_RETURN, 0);
  Pump(120);
  EXPECT_EQ(-6.5, e.plug.GetParam(EditPlug::kGain)->Value());
  EXPECT_EQ("bpe", e.plug.Kinds());
}
}  // namespace
