// The editor in a real X11 child window on a virtual display: what the
// screen shows, pointer and keys made by the server turned into edits and
// gestures, and keys that belong to the host.
#include <gtest/gtest.h>

#include "graphics/IKnobControl.h"
#include "platform/x11/IGraphicsX11.h"
#include "raster/LICE_SysBitmap.h"
#include "tests/graphics/EditorFixture.h"
#include "tests/platform/X11Fixture.h"

#include <X11/keysym.h>
#include <poll.h>

#include <cstdint>

namespace
{
constexpr int kWidth = SmallEditor::kWidth;
constexpr int kHeight = SmallEditor::kHeight;

// An editor window whose pictures are made in memory.
class TestX11 : public IGraphicsX11
{
public:
  explicit TestX11(IPlugBase* plug) : IGraphicsX11(plug, kWidth, kHeight, kDefaultFps) {}
  LICE_IBitmap* LoadResourceImage(int id, const char*) override { return SmallEditor::Picture(id); }
};

// Takes every key but "a".
class KeyCatcher : public IControl
{
public:
  using IControl::IControl;
  bool Draw(IGraphics&) override { return true; }
  bool OnKeyDown(int, int, int key) override
  {
    keys.push_back(key);
    return key != 15;
  }
  std::vector<int> keys;
};

// The small editor in a window, served as a host's run loop would.
struct Editor
{
  EditPlug plug;
  TestX11* graphics = new TestX11(&plug);
  SmallEditor controls{*graphics, plug};

  Window Handle() { return static_cast<Window>(reinterpret_cast<uintptr_t>(graphics->GetWindowHandle())); }
  // Hands the editor what the server sent it, until nothing more comes. What
  // Xlib has already read does not wake the descriptor, hence the first call.
  void Serve()
  {
    graphics->OnEventsReady();
    pollfd fd = {graphics->EventDescriptor(), POLLIN, 0};
    while (poll(&fd, 1, 30) > 0) graphics->OnEventsReady();
  }
  double Knob() { return controls.knob->GetValue(); }
};

class X11WindowTest : public testing::Test
{
protected:
  void SetUp() override
  {
    if (!x.Connection()) GTEST_SKIP() << "no X display with XTEST: run under xvfb-run";
    host = x.NewHostWindow();
  }
  void TearDown() override { IGraphics::ReleaseModuleCaches(); }

  X11Session x;
  Window host = 0;
};

TEST_F(X11WindowTest, screenShowsTheSurfaceAndTheTimerRedrawsWhatChanged)
{
  // Through shared memory and through the connection (as to a display on
  // another machine), in a parent of the default depth and in a 32-bit one
  // such as compositing hosts use.
  struct Case
  {
    const char* what;
    bool sharedMemory;
    int parentDepth;
  };
  const Case cases[] = {{"shared memory", true, 24},
                        {"through the connection", false, 24},
                        {"32-bit parent", true, 32}};
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    const Window parent = c.parentDepth == 24 ? host : x.NewHostWindow(1240, 360, c.parentDepth);
    if (!parent)
    {
      ADD_FAILURE() << "the display has no TrueColor visual of depth " << c.parentDepth;
      continue;
    }
    Editor e;
    if (!c.sharedMemory) e.graphics->StopSharedMemory();
    ASSERT_NE(nullptr, e.graphics->OpenWindow(reinterpret_cast<void*>(parent)));
    EXPECT_EQ(c.sharedMemory, e.graphics->UsesSharedMemory());
    EXPECT_EQ((std::vector<Window>{e.Handle()}), x.Children(parent));
    auto surface = [&] {
      std::vector<uint32_t> pixels;
      LICE_SysBitmap* s = e.graphics->GetDrawBitmap();
      for (int y = 0; y < kHeight; ++y)
        for (int px = 0; px < kWidth; ++px)
          pixels.push_back(s->Pixels()[y * s->RowSpan() + px] & 0xFFFFFF);
      return pixels;
    };
    e.Serve();  // the first exposure draws everything
    e.graphics->WaitUntilDrawn();
    const std::vector<uint32_t> before = surface();
    EXPECT_EQ(before, x.ReadWindow(e.Handle(), kWidth, kHeight));

    // A value from the host reaches the screen with the next tick.
    e.graphics->UpdateParameterControls(EditPlug::kGain, 1.0, true);
    e.graphics->OnTimerTick();
    e.graphics->WaitUntilDrawn();
    const std::vector<uint32_t> after = surface();
    EXPECT_NE(before, after);
    EXPECT_EQ(after, x.ReadWindow(e.Handle(), kWidth, kHeight));

    e.graphics->CloseWindow();
    EXPECT_TRUE(x.Children(parent).empty());
    EXPECT_EQ(-1, e.graphics->EventDescriptor());
  }
}

TEST_F(X11WindowTest, parentThatIsNoWindowLeavesTheEditorClosed)
{
  Editor e;
  for (uintptr_t parent : {uintptr_t(0), uintptr_t(0x7ffffff)})
  {
    EXPECT_EQ(nullptr, e.graphics->OpenWindow(reinterpret_cast<void*>(parent))) << parent;
    EXPECT_FALSE(e.graphics->HasWindow());
    EXPECT_EQ(-1, e.graphics->EventDescriptor());
  }
}

TEST_F(X11WindowTest, pointerBecomesEditsAndGestures)
{
  Editor e;
  e.graphics->OpenWindow(reinterpret_cast<void*>(host));
  const Window w = e.Handle();
  auto drag = [&](int fromY, std::initializer_list<int> ys) {
    x.MoveTo(w, 20, fromY);
    x.Button(Button1, true);
    e.Serve();
    for (int y : ys)
    {
      x.MoveTo(w, 20, y);
      e.Serve();
    }
    x.Button(Button1, false);
    e.Serve();
  };

  // Press, drag 12 pixels up in two moves, release: 0.5 + 12 / 60 / 4.
  drag(40, {34, 28});
  EXPECT_EQ("bppe", e.plug.Kinds());
  EXPECT_DOUBLE_EQ(0.55, e.Knob());

  // Control held: a tenth of the step. Each press starts elsewhere, or it
  // would be the second of a double click.
  e.plug.events.clear();
  x.Key(XK_Control_L, true);
  drag(44, {20});
  x.Key(XK_Control_L, false);
  EXPECT_EQ("bpe", e.plug.Kinds());
  EXPECT_DOUBLE_EQ(0.56, e.Knob());

  // The pointer stays the editor's beyond the window's edge until released.
  e.plug.events.clear();
  drag(48, {300});
  EXPECT_EQ("bpe", e.plug.Kinds());
  EXPECT_EQ(0.0, e.Knob());

  // A click toggles the switch; button 3 on a parameter asks for the host's menu.
  e.plug.events.clear();
  x.MoveTo(w, 110, 20);
  x.Click(Button1);
  e.Serve();
  EXPECT_EQ(1.0, e.plug.GetParam(EditPlug::kSwitch)->Value());
  e.plug.events.clear();
  x.Click(Button3);
  e.Serve();
  EXPECT_EQ("m", e.plug.Kinds());

  // Buttons 4 and 5 are a notch up and down, each its own gesture.
  x.MoveTo(w, 20, 20);
  e.Serve();
  e.plug.events.clear();
  x.Click(Button4);
  x.Click(Button4);
  x.Click(Button5);
  e.Serve();
  EXPECT_EQ("bpebpebpe", e.plug.Kinds());
  EXPECT_DOUBLE_EQ(0.01, e.Knob());
}

TEST_F(X11WindowTest, secondPressSoonAndNearIsADoubleClick)
{
  Editor e;
  e.graphics->OpenWindow(reinterpret_cast<void*>(host));
  const Window w = e.Handle();
  struct Case
  {
    const char* what;
    int secondX;
    unsigned long delayMs;
    int clicks;
    const char* kinds;
  };
  // A click is "be"; a double click's second press is the default as one
  // gesture, "bpe", and its release adds nothing.
  const Case cases[] = {
    {"two quick clicks", 21, 0, 2, "bebpe"},
    {"a third click begins again", 20, 0, 3, "bebpebe"},
    {"too far apart", 20 + IGraphicsX11::kDoubleClickDistance + 1, 0, 2, "bebe"},
    {"too late", 20, IGraphicsX11::kDoubleClickMs + 100, 2, "bebe"},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    e.controls.knob->SetValue(0.75);
    x.MoveTo(w, 20, 20);
    e.Serve();
    e.plug.events.clear();
    x.Click(Button1);
    x.MoveTo(w, c.secondX, 20);
    x.Button(Button1, true, c.delayMs);
    x.Button(Button1, false);
    for (int i = 2; i < c.clicks; ++i) x.Click(Button1);
    e.Serve();
    EXPECT_EQ(c.kinds, e.plug.Kinds());
    // A click far away, so that the next case's first click stands alone.
    x.MoveTo(w, 150, 80);
    x.Click(Button1);
    e.Serve();
  }
}

TEST_F(X11WindowTest, keysMapAsOnWindowsAndTheRestReachTheHost)
{
  Editor e;
  auto* catcher = new KeyCatcher(&e.plug, IBox());
  e.graphics->SetKeyCatcher(catcher);
  e.graphics->OpenWindow(reinterpret_cast<void*>(host));
  x.MoveTo(e.Handle(), 150, 80);  // over the background, so the catcher answers
  e.Serve();
  const KeySym keys[] = {XK_space, XK_Up, XK_Down, XK_Left, XK_Right, XK_0, XK_9, XK_a, XK_z, XK_F5};
  for (KeySym k : keys)
  {
    x.Key(k, true);
    x.Key(k, false);
  }
  // Shift changes nothing: the key is the key.
  x.Key(XK_Shift_L, true);
  x.Key(XK_b, true);
  x.Key(XK_b, false);
  x.Key(XK_Shift_L, false);
  e.Serve();
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 14, 15, 40, 16}), catcher->keys);
  // What the editor does not take, the host gets: "a" refused, F5 and Shift
  // not editor keys.
  EXPECT_EQ((std::vector<KeySym>{XK_a, XK_F5, XK_Shift_L}), x.KeysAt(host));
}

}  // namespace
