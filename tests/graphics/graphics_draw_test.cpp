// Drawing: which frame a value shows, what lands on the surface, and which
// controls a redraw touches.
#include <gtest/gtest.h>

#include "graphics/IBitmapControl.h"
#include "graphics/IFrameChoice.h"
#include "graphics/IKnobControl.h"
#include "raster/LICE_Composite.h"
#include "raster/LICE_SysBitmap.h"
#include "tests/graphics/EditorFixture.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>

namespace
{
class DrawTest : public testing::Test
{
protected:
  void SetUp() override { IGraphics::ReleaseModuleCaches(); }
  void TearDown() override { IGraphics::ReleaseModuleCaches(); }
};

struct FrameCase
{
  int frames;
  int w, h;  // whole strip
  bool horizontal;
  double value;
  int frame;  // 1-based
  int offset;
};

// A 121-frame knob strip of 15-pixel frames, a 2-frame switch of 12-pixel
// frames, and 4 frames side by side.
const FrameCase kFrameCases[] = {
  {121, 20, 1815, false, 0.0, 1, 0},
  {121, 20, 1815, false, 1.0 / 240.0, 2, 15},
  {121, 20, 1815, false, 0.5, 61, 900},
  {121, 20, 1815, false, 1.0, 121, 1800},
  {2, 12, 24, false, 0.0, 1, 0},
  {2, 12, 24, false, 1.0 / 240.0, 1, 0},
  {2, 12, 24, false, 0.5, 2, 12},
  {2, 12, 24, false, 1.0, 2, 12},
  {4, 40, 10, true, 1.0, 4, 30},
  // Values a control can be handed from outside never reach the integer
  // conversion unchecked: what is not a finite number shows the first frame.
  {121, 20, 1815, false, std::numeric_limits<double>::quiet_NaN(), 1, 0},
  {121, 20, 1815, false, std::numeric_limits<double>::infinity(), 1, 0},
  {121, 20, 1815, false, -1e300, 1, 0},
  {121, 20, 1815, false, 1e300, 121, 1800},
};

TEST(FrameChoice, valueSelectsFrameAndItsOffsetAlongTheStrip)
{
  for (const FrameCase& c : kFrameCases)
  {
    IBitmapRef ref;
    ref.W = c.w;
    ref.H = c.h;
    ref.N = c.frames;
    ref.framesAreHorizontal = c.horizontal;
    const IFrame f = ChooseFrame(ref, c.value);
    SCOPED_TRACE(testing::Message() << c.frames << " frames, value " << c.value);
    EXPECT_EQ(c.frame, f.index);
    EXPECT_EQ(c.horizontal ? c.offset : 0, f.srcX);
    EXPECT_EQ(c.horizontal ? 0 : c.offset, f.srcY);
  }
}

// The small editor on a windowless context.
struct Editor
{
  EditPlug plug;
  TestGraphics* graphics = new TestGraphics(&plug, SmallEditor::kWidth, SmallEditor::kHeight);
  SmallEditor controls{*graphics, plug};
  IKnobMultiControl* knob = controls.knob;
  ISwitchControl* toggle = controls.toggle;
};

TEST_F(DrawTest, surfaceHoldsTheBackgroundWithEachFrameCompositedAtItsPlace)
{
  Editor editor;
  editor.graphics->UpdateParameterControls(EditPlug::kGain, 0.5, true);
  editor.graphics->UpdateParameterControls(EditPlug::kSwitch, 1.0, true);
  ASSERT_TRUE(editor.graphics->DrawRegion(IBox(0, 0, 200, 100)));

  // The same pictures, composited directly: frame 61 of the knob starts at
  // 60 x 60 pixels, frame 2 of the switch at 20.
  LICE_SysBitmap expected(200, 100);
  LICE_Composite(&expected, editor.graphics->LoadEditorImage(1, "").bitmap, 0, 0, nullptr, 1.0f,
                 CompositeCopy);
  const LICE_Rect knobFrame = {0, 3600, 40, 3660};
  LICE_Composite(&expected, editor.knob->GetBitmap().bitmap, 10, 10, &knobFrame, 1.0f,
                 CompositeUseSourceAlpha);
  const LICE_Rect switchFrame = {0, 20, 20, 40};
  LICE_Composite(&expected, editor.toggle->GetBitmap().bitmap, 100, 10, &switchFrame, 1.0f,
                 CompositeUseSourceAlpha);

  LICE_SysBitmap* surface = editor.graphics->GetDrawBitmap();
  int differing = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x)
      differing += surface->Pixels()[y * surface->RowSpan() + x] !=
                   expected.Pixels()[y * expected.RowSpan() + x];
  EXPECT_EQ(0, differing);
  EXPECT_EQ(IBox(0, 0, 200, 100), editor.graphics->LastPresented());
}

TEST_F(DrawTest, strictRedrawDrawsTheControlsMeetingTheBoxAndCleansAll)
{
  EditPlug plug;
  TestGraphics graphics(&plug, 200, 100);
  struct Case
  {
    IBox box;
    bool hidden;
    bool drawn;
  };
  // The region is (40, 40)-(80, 80). Boxes meet it when they overlap it or
  // touch its right or bottom edge.
  const Case cases[] = {
    {IBox(50, 50, 60, 60), false, true},    // inside
    {IBox(70, 70, 120, 120), false, true},  // overlapping a corner
    {IBox(80, 50, 90, 60), false, true},    // touching the right edge
    {IBox(50, 80, 60, 90), false, true},    // touching the bottom edge
    {IBox(30, 50, 40, 60), false, false},   // touching the left edge
    {IBox(0, 0, 10, 10), false, false},     // elsewhere
    {IBox(50, 50, 60, 60), true, false},    // hidden
  };
  std::vector<CountingControl*> controls;
  for (const Case& c : cases)
  {
    auto* control = new CountingControl(&plug, c.box);
    if (c.hidden) control->Hide(true);
    graphics.AttachControl(control);
    controls.push_back(control);
  }
  graphics.PrepareDrawing();

  graphics.DrawRegion(IBox(40, 40, 80, 80));
  for (std::size_t i = 0; i < controls.size(); ++i)
  {
    SCOPED_TRACE(i);
    EXPECT_EQ(cases[i].drawn ? 1 : 0, controls[i]->draws);
  }
  // The hidden control keeps its redraw request for one more pass; all others
  // are clean after the first.
  for (std::size_t i = 0; i + 1 < controls.size(); ++i) EXPECT_FALSE(controls[i]->IsDirty()) << i;
  graphics.DrawRegion(IBox(0, 0, 1, 1));
  IBox dirty;
  EXPECT_FALSE(graphics.FindDirtyRegion(dirty));
  EXPECT_EQ(IBox(0, 0, 1, 1), graphics.LastPresented());
}

TEST_F(DrawTest, nonStrictRedrawDrawsEachDirtyControlWithWhatMeetsIt)
{
  EditPlug plug;
  TestGraphics graphics(&plug, 200, 100);
  graphics.SetStrictDrawing(false);
  auto* background = new CountingControl(&plug, IBox(0, 0, 200, 100));
  auto* a = new CountingControl(&plug, IBox(10, 10, 30, 30));
  auto* b = new CountingControl(&plug, IBox(25, 25, 45, 45));  // overlaps a
  auto* c = new CountingControl(&plug, IBox(100, 10, 120, 30));
  auto* hidden = new CountingControl(&plug, IBox(10, 10, 30, 30));
  hidden->Hide(true);
  graphics.AttachBackground(background);
  for (CountingControl* control : {a, b, c, hidden}) graphics.AttachControl(control);
  graphics.PrepareDrawing();

  // A dirty background redraws everything shown.
  graphics.DrawRegion(IBox(0, 0, 200, 100));
  EXPECT_EQ((std::vector<int>{1, 1, 1, 1, 0}),
            (std::vector<int>{background->draws, a->draws, b->draws, c->draws, hidden->draws}));

  // Then only a is dirty: it is drawn over the background, with b over it.
  for (CountingControl* control : {background, a, b, c, hidden}) control->SetClean();
  a->SetDirty(false);
  graphics.DrawRegion(a->GetBox());
  EXPECT_EQ((std::vector<int>{2, 2, 2, 1, 0}),
            (std::vector<int>{background->draws, a->draws, b->draws, c->draws, hidden->draws}));
  EXPECT_FALSE(a->IsDirty());
}

TEST_F(DrawTest, controlChangedFromThePlugInIsDrawnInTwoPasses)
{
  Editor editor;
  IGraphics& g = *editor.graphics;
  IBox region;
  ASSERT_TRUE(g.FindDirtyRegion(region));
  g.DrawRegion(region);
  g.DrawRegion(region);
  ASSERT_FALSE(g.FindDirtyRegion(region));

  g.UpdateParameterControls(EditPlug::kGain, 0.75, true);
  ASSERT_TRUE(g.FindDirtyRegion(region));
  EXPECT_EQ(editor.knob->GetBox(), region);
  g.DrawRegion(region);
  ASSERT_TRUE(g.FindDirtyRegion(region));
  g.DrawRegion(region);
  EXPECT_FALSE(g.FindDirtyRegion(region));
}

TEST_F(DrawTest, pictureThatCannotBeLoadedDrawsNothingAndTheEditorStillOpens)
{
  EditPlug plug;
  // Missing and corrupt picture files, read the way the windowless editor reads.
  const std::string folder = testing::TempDir();
  std::ofstream(folder + "/corrupt.png", std::ios::binary) << "\x89PNG\r\n\x1a\nnot a picture";
  auto* graphics = new IGraphicsWindowless(&plug, 200, 100, folder);
  for (const char* name : {"missing.png", "corrupt.png", "corrupt.bmp"})
  {
    SCOPED_TRACE(name);
    const IBitmapRef ref = graphics->LoadEditorImage(7, name, 121);
    EXPECT_EQ(nullptr, ref.bitmap);
    graphics->AttachControl(new IKnobMultiControl(&plug, 10, 10, EditPlug::kGain, ref));
  }
  EXPECT_EQ(0, IGraphics::NCachedImages());
  plug.AttachEditor(graphics);
  graphics->UpdateParameterControls(EditPlug::kGain, 0.3, true);
  LICE_SysBitmap* surface = graphics->GetDrawBitmap();
  LICE_FillArea(surface, 0, 0, 200, 100, LICE_RGB(1, 2, 3), 1.0f, CompositeCopy);
  EXPECT_TRUE(graphics->DrawRegion(IBox(0, 0, 200, 100)));
  EXPECT_EQ(LICE_RGB(1, 2, 3), surface->Pixels()[10 * surface->RowSpan() + 10]);
}
}  // namespace
