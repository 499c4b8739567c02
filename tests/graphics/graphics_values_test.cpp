// Values between parameters and controls, the right-click prompt, and the
// module-wide caches of pictures and fonts.
#include <gtest/gtest.h>

#include "graphics/IBitmapControl.h"
#include "tests/graphics/EditorFixture.h"

#include <cmath>

namespace
{
class ValuesTest : public testing::Test
{
protected:
  void SetUp() override { IGraphics::ReleaseModuleCaches(); }
  void TearDown() override { IGraphics::ReleaseModuleCaches(); }
};

TEST_F(ValuesTest, plainValueIsClampedIntoItsRangeBeforeNormalising)
{
  struct Case
  {
    int param;
    double plain;
    double normalized;
  };
  const Case cases[] = {
    {EditPlug::kGain, -30.0, 0.0}, {EditPlug::kGain, 30.0, 1.0},  {EditPlug::kGain, 12.0, 0.75},
    {EditPlug::kFreq, 1000.0, 1.0}, {EditPlug::kFreq, 10.0, 0.0}, {EditPlug::kFreq, 135.0, 0.5},
  };
  EditPlug plug;
  TestGraphics graphics(&plug);
  auto* gain = new CountingControl(&plug, IBox(0, 0, 10, 10), EditPlug::kGain);
  auto* freq = new CountingControl(&plug, IBox(10, 0, 20, 10), EditPlug::kFreq);
  graphics.AttachControl(gain);
  graphics.AttachControl(freq);
  for (const Case& c : cases)
  {
    graphics.UpdateParameterControls(c.param, c.plain, false);
    const IControl* control = c.param == EditPlug::kGain ? gain : freq;
    EXPECT_DOUBLE_EQ(c.normalized, control->GetValue()) << c.param << " " << c.plain;
  }
}

TEST_F(ValuesTest, attachingLearnsEachDefaultAndRefreshFollowsTheParameters)
{
  EditPlug plug;
  auto* graphics = new TestGraphics(&plug);
  auto* gain = new CountingControl(&plug, IBox(0, 0, 10, 10), EditPlug::kGain);
  auto* both = new CountingControl(&plug, IBox(10, 0, 20, 10), EditPlug::kSwitch);
  both->AddAuxParam(EditPlug::kFreq);
  both->AddAuxParam(EditPlug::kFreq);  // only the first binding of a parameter follows it
  graphics->AttachControl(gain);
  graphics->AttachControl(both);
  plug.GetParam(EditPlug::kGain)->AssignPlain(-12.0);
  plug.GetParam(EditPlug::kFreq)->AssignPlain(135.0);
  plug.AttachEditor(graphics);
  EXPECT_EQ(graphics, plug.GetGraphics());
  EXPECT_EQ(0.25, gain->GetDefaultValue());
  EXPECT_EQ(0.25, gain->GetValue());
  EXPECT_DOUBLE_EQ(0.5, both->GetAuxParam(0)->value);
  EXPECT_EQ(0.0, both->GetAuxParam(1)->value);
  ASSERT_NE(nullptr, graphics->GetDrawBitmap());

  plug.GetParam(EditPlug::kGain)->AssignPlain(24.0);
  plug.GetParam(EditPlug::kFreq)->AssignPlain(30.0);
  plug.RefreshEditorControls();
  EXPECT_EQ(1.0, gain->GetValue());
  EXPECT_EQ(0.25, gain->GetDefaultValue());
  EXPECT_EQ(0.0, both->GetAuxParam(0)->value);
}

// Records the value-entry requests the prompt makes.
class PromptGraphics : public TestGraphics
{
public:
  using TestGraphics::TestGraphics;
  void OpenValueEntry(IControl*, const ITextStyle&, const IBox& box, const char* text,
                      IParamEntry*) override
  {
    entryBox = box;
    entryText = text;
  }
  IBox entryBox;
  std::string entryText;
};

TEST_F(ValuesTest, rightClickPromptOffersTheValueAsTypedCentredOnTheControl)
{
  struct Case
  {
    int param;
    double plain;
    bool negate;
    const char* text;
  };
  const Case cases[] = {
    {EditPlug::kGain, -3.5, false, "-3.50"},
    {EditPlug::kGain, -3.5, true, "3.50"},
    {EditPlug::kSwitch, 1.0, false, "1"},
  };
  for (const Case& c : cases)
  {
    EditPlug plug(kApiNone);  // a VST 3 host would show its own menu instead
    auto* graphics = new PromptGraphics(&plug);
    auto* control = new CountingControl(&plug, IBox(10, 20, 51, 41), c.param);
    control->DisablePrompt(false);
    graphics->AttachControl(control);
    plug.AttachEditor(graphics);
    plug.GetParam(c.param)->AssignPlain(c.plain);
    plug.GetParam(c.param)->SetNegateDisplay(c.negate);

    graphics->HandleMouseDown(30, 30, {false, true, false, false, false});
    EXPECT_EQ(c.text, graphics->entryText);
    EXPECT_EQ(IBox(10, 22, 50, 38), graphics->entryBox);  // 40 x 16 around (30, 30)
  }
}

TEST_F(ValuesTest, pictureIsDecodedOncePerModuleAndSharedByEveryEditor)
{
  EditPlug plug;
  TestGraphics first(&plug);
  TestGraphics second(&plug);
  first.AddPicture({5, 8, 8, 2});
  second.AddPicture({5, 8, 8, 2});
  const IBitmapRef a = first.LoadEditorImage(5, "a.png", 2);
  const IBitmapRef b = second.LoadEditorImage(5, "a.png", 2);
  EXPECT_EQ(1, first.decodes + second.decodes);
  ASSERT_NE(nullptr, a.bitmap);
  EXPECT_EQ(a.bitmap, b.bitmap);
  EXPECT_EQ(8, b.W);
  EXPECT_EQ(16, b.H);
  EXPECT_EQ(8, b.FrameHeight());
  EXPECT_EQ(1, IGraphics::NCachedImages());

  IGraphics::ReleaseModuleCaches();  // as when the module unloads
  EXPECT_EQ(0, IGraphics::NCachedImages());
}

TEST_F(ValuesTest, textStylesDifferingOnlyInColourShareAFont)
{
  EditPlug plug;
  TestGraphics graphics(&plug);
  graphics.PrepareDrawing();
  ITextStyle black;
  ITextStyle red = black;
  red.colour = IColour(255, 255, 0, 0);
  IBox box(0, 0, 100, 20);
#ifdef _WIN32
  ASSERT_TRUE(graphics.DrawStyledText(black, "Morvex", box));
  ASSERT_TRUE(graphics.DrawStyledText(red, "Morvex", box));
  EXPECT_NE(nullptr, black.cachedFont);
  EXPECT_EQ(black.cachedFont, red.cachedFont);
  ITextStyle bigger = black;
  bigger.size = 20;
  EXPECT_NE(black.cachedFont, graphics.FindOrCreateFont(bigger));
  EXPECT_EQ(2, IGraphics::NCachedFonts());
  IBox measured(10, 5, 10, 5);
  ASSERT_TRUE(graphics.MeasureText(black, "Morvex", measured));
  EXPECT_GT(measured.W(), 0);
  EXPECT_GT(measured.H(), 0);
#else
  // Without a system font engine text draws nothing and says so.
  EXPECT_FALSE(graphics.DrawStyledText(black, "Morvex", box));
  EXPECT_EQ(0, IGraphics::NCachedFonts());
#endif
  IBox unchanged(1, 2, 3, 4);
  EXPECT_TRUE(graphics.MeasureText(red, "", unchanged));
  EXPECT_EQ(IBox(1, 2, 3, 4), unchanged);
}
}  // namespace
