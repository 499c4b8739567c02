// The editor at screen factors: the surface is the layout scaled, drawn from
// each picture's double-size version (as it is at 2, resampled at other
// factors, never touched at 1), and the mouse, in screen pixels, lands on the
// same controls and moves knobs as far in layout units at every factor.
#include "tests/graphics/EditorFixture.h"

#include "graphics/IBitmapControl.h"
#include "graphics/IKnobControl.h"
#include "raster/LICE_Composite.h"
#include "raster/LICE_Resample.h"
#include "raster/LICE_SysBitmap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace
{
int Scaled(int v, double f) { return static_cast<int>(std::lround(v * f)); }

TEST(EditorScale, factorsRunFromOneToThreeInQuarterSteps)
{
  const struct
  {
    double asked, taken;
  } cases[] = {{1.0, 1.0},  {0.5, 1.0},   {0.0, 1.0},  {-2.0, 1.0}, {1.1, 1.0},  {1.125, 1.25},
               {1.3, 1.25}, {1.5, 1.5},   {1.62, 1.5}, {2.0, 2.0},  {2.4, 2.5}, {3.0, 3.0},
               {3.2, 3.0},  {100.0, 3.0}, {NAN, 1.0},  {INFINITY, 3.0}};
  for (const auto& c : cases) EXPECT_EQ(c.taken, IGraphics::QuantizeScale(c.asked)) << c.asked;
  EXPECT_EQ("resources/img/2x/BG.png", IGraphics::DoubleSizeName("resources/img/BG.png"));
  EXPECT_EQ("2x/knob.png", IGraphics::DoubleSizeName("knob.png"));
}

// What the small editor must show at a factor: each picture's frame for its
// value, from the double-size picture (the picture itself where there is
// none), at its place scaled.
// A knob of frames whose scaled sizes are rarely whole: picture 4, 41 x 61
// frames at (140, 20), on kFreq; its double-size version is picture 104.
constexpr TestGraphics::Picture kOddKnob = {4, 41, 61, 121};
constexpr TestGraphics::Picture kOddKnobTwice = {104, 82, 122, 121};

LICE_MemBitmap* PictureOf(int id)
{
  if (id == kOddKnob.id) return MakeStrip(kOddKnob.w, kOddKnob.h, kOddKnob.frames, 4);
  if (id == kOddKnobTwice.id) return MakeStrip(kOddKnobTwice.w, kOddKnobTwice.h, kOddKnobTwice.frames, 104);
  return SmallEditor::Picture(id);
}

std::unique_ptr<LICE_MemBitmap> Expected(double f, double knob, double toggle, double odd,
                                         const std::set<int>& missing)
{
  const int w = Scaled(SmallEditor::kWidth, f), h = Scaled(SmallEditor::kHeight, f);
  auto screen = std::make_unique<LICE_MemBitmap>(w, h);
  struct Item
  {
    int id, x, y, fw, fh, frame;
  };
  const Item items[] = {{1, 0, 0, SmallEditor::kWidth, SmallEditor::kHeight, 0},
                        {2, 10, 10, 40, 60, static_cast<int>(std::lround(knob * 120))},
                        {3, 100, 10, 20, 20, static_cast<int>(std::lround(toggle))},
                        {4, 140, 20, 41, 61, static_cast<int>(std::lround(odd * 120))}};
  for (const Item& it : items)
  {
    const bool twice = f != 1.0 && !missing.count(it.id + 100);
    std::unique_ptr<LICE_MemBitmap> strip(PictureOf(twice ? it.id + 100 : it.id));
    const int k = twice ? 2 : 1;
    const LICE_Rect frame = {0, it.frame * it.fh * k, it.fw * k, (it.frame + 1) * it.fh * k};
    LICE_MemBitmap scaled(Scaled(it.fw, f), Scaled(it.fh, f));
    if (f == k)
      LICE_Composite(&scaled, strip.get(), 0, 0, &frame, 1.0f, CompositeCopy);
    else
      EXPECT_TRUE(LICE_ResampleArea(&scaled, {0, 0, scaled.Width(), scaled.Height()}, strip.get(), frame));
    const int mode = it.id == 1 ? CompositeCopy : CompositeUseSourceAlpha;
    LICE_Composite(screen.get(), &scaled, Scaled(it.x, f), Scaled(it.y, f), nullptr, 1.0f, mode);
  }
  return screen;
}

TEST(EditorScale, surfaceIsTheDoubleSizePicturesAtTwoResampledElsewhereAndUntouchedAtOne)
{
  // Double-size pictures decoded whole, or row by row as frames are drawn;
  // missing ones, and damaged ones read row by row, give way to the
  // pictures themselves.
  struct Case
  {
    double scale;
    bool rows;
    std::set<int> missing, damaged;
  };
  const Case cases[] = {{1.0, false, {}, {}},     {2.0, false, {}, {}},     {1.25, false, {}, {}},
                        {1.5, false, {}, {}},     {2.75, false, {}, {}},    {3.0, false, {}, {}},
                        {1.5, false, {102}, {}},  {2.0, false, {101}, {}},  {1.75, false, {104}, {}},
                        {2.0, true, {}, {}},      {1.5, true, {}, {}},      {1.0, true, {}, {}},
                        {2.0, true, {}, {102}},   {1.25, true, {}, {104}}};
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "factor " << c.scale << (c.rows ? " row by row" : "")
                                    << ", missing " << c.missing.size() << ", damaged "
                                    << c.damaged.size());
    IGraphics::ReleaseModuleCaches();
    EditPlug plug;
    auto* graphics = new TestGraphics(&plug);
    graphics->missing = c.missing;
    graphics->rowsFromPng = c.rows;
    graphics->damaged = c.damaged;
    graphics->AddPicture(kOddKnob);
    graphics->AddPicture(kOddKnobTwice);
    SmallEditor editor(*graphics, plug);
    graphics->AttachControl(new IKnobMultiControl(&plug, 140, 20, EditPlug::kFreq,
                                                  graphics->LoadEditorImage(4, "odd.png", 121)));
    graphics->UpdateParameterControls(EditPlug::kFreq, 0.77, true);
    graphics->UpdateParameterControls(EditPlug::kGain, 0.3, true);
    graphics->UpdateParameterControls(EditPlug::kSwitch, 1.0, true);
    graphics->SetScale(c.scale);
    ASSERT_EQ(Scaled(SmallEditor::kWidth, c.scale), graphics->ScreenWidth());
    ASSERT_EQ(Scaled(SmallEditor::kHeight, c.scale), graphics->ScreenHeight());
    IBox dirty;
    ASSERT_TRUE(graphics->FindDirtyRegion(dirty));
    EXPECT_EQ(IBox(0, 0, graphics->ScreenWidth(), graphics->ScreenHeight()), dirty);
    graphics->DrawRegion(dirty);

    std::set<int> absent = c.missing;
    absent.insert(c.damaged.begin(), c.damaged.end());
    const auto expected = Expected(c.scale, 0.3, 1.0, 0.77, absent);
    LICE_SysBitmap* surface = graphics->GetDrawBitmap();
    ASSERT_EQ(expected->Width(), surface->Width());
    ASSERT_EQ(expected->Height(), surface->Height());
    int differing = 0;
    for (int y = 0; y < surface->Height(); ++y)
      for (int x = 0; x < surface->Width(); ++x)
        differing += (surface->Pixels()[y * surface->RowSpan() + x] & 0xFFFFFF) !=
                     (expected->Pixels()[y * expected->RowSpan() + x] & 0xFFFFFF);
    EXPECT_EQ(0, differing);
    // At 1 the double-size pictures are never read.
    bool twiceRead = false;
    for (int id : graphics->decodedIds) twiceRead |= id > 100;
    EXPECT_EQ(c.scale != 1.0, twiceRead);
  }
  IGraphics::ReleaseModuleCaches();
}

// The host events of pressing the knob's centre, dragging it up by dy screen
// pixels one pixel at a time, and releasing.
std::vector<HostEvent> DragKnob(double scale, int dy)
{
  EditPlug plug;
  auto* graphics = new TestGraphics(&plug);
  SmallEditor editor(*graphics, plug);
  graphics->SetScale(scale);
  const int x = Scaled(30, scale), y = Scaled(40, scale);
  IMouseKeys left;
  left.left = true;
  graphics->HandleMouseDown(x, y, left);
  for (int d = 1; d <= dy; ++d) graphics->HandleMouseDrag(x, y - d, left);
  graphics->HandleMouseUp(x, y - dy, IMouseKeys());
  return plug.events;
}

TEST(EditorScale, aDragOfTheScaledDistanceMovesAKnobAsFarAsAtOne)
{
  const std::vector<HostEvent> atOne = DragKnob(1.0, 60);
  ASSERT_EQ(62u, atOne.size());  // begin, 60 steps, end
  // At 2 every layout pixel is two screen pixels: the very same edits.
  EXPECT_EQ(atOne, DragKnob(2.0, 120));
  // Elsewhere the steps differ but the drag ends at the same value.
  for (double f : {1.25, 1.5, 2.5, 3.0})
  {
    const std::vector<HostEvent> scaled = DragKnob(f, Scaled(60, f));
    ASSERT_GE(scaled.size(), 3u) << f;
    EXPECT_EQ(atOne[atOne.size() - 2], scaled[scaled.size() - 2]) << f;
    EXPECT_EQ('b', scaled.front().kind) << f;
    EXPECT_EQ('e', scaled.back().kind) << f;
  }
}

TEST(EditorScale, pressesWheelAndDoubleClicksLandOnTheControlUnderThePointer)
{
  for (double f : {1.25, 1.5, 2.0})
  {
    SCOPED_TRACE(f);
    EditPlug plug;
    auto* graphics = new TestGraphics(&plug);
    SmallEditor editor(*graphics, plug);
    graphics->SetScale(f);
    IMouseKeys left;
    left.left = true;
    // The switch's centre toggles it.
    graphics->HandleMouseDown(Scaled(110, f), Scaled(20, f), left);
    graphics->HandleMouseUp(Scaled(110, f), Scaled(20, f), IMouseKeys());
    EXPECT_EQ("bpe", plug.Kinds());
    EXPECT_EQ(EditPlug::kSwitch, plug.events[0].param);
    EXPECT_EQ(1.0, editor.toggle->GetValue());
    // A wheel notch over the knob, near its corner, turns it.
    plug.events.clear();
    graphics->HandleMouseWheel(Scaled(12, f), Scaled(68, f), IMouseKeys(), 1);
    EXPECT_EQ("bpe", plug.Kinds());
    EXPECT_DOUBLE_EQ(0.51, editor.knob->GetValue());
    // A double click on it returns it to its default.
    plug.events.clear();
    graphics->HandleMouseDoubleClick(Scaled(30, f), Scaled(40, f), left);
    EXPECT_DOUBLE_EQ(0.5, editor.knob->GetValue());
    EXPECT_EQ("bpe", plug.Kinds());
    // Beside the knob, where only the background is, nothing is edited.
    plug.events.clear();
    graphics->HandleMouseDown(Scaled(60, f), Scaled(40, f), left);
    graphics->HandleMouseUp(Scaled(60, f), Scaled(40, f), IMouseKeys());
    EXPECT_EQ("", plug.Kinds());
  }
}
}  // namespace
