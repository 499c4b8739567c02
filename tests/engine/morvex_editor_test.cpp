// The editor's layout: what the Morvex constructor attaches, where, and on
// which parameters, with pictures of the layout's own sizes.
#include <gtest/gtest.h>

#include "engine/Morvex.h"
#include "engine/MorvexEditor.h"
#include "graphics/IBitmapControl.h"
#include "graphics/IGraphicsWindowless.h"
#include "graphics/IKnobControl.h"
#include "graphics/IReadoutControl.h"
#include "engine/ReadoutGlyphs.h"
#include "raster/LICE_MemBitmap.h"

#include <cstring>
#include <set>
#include <string>

namespace
{
using MorvexEditor::ControlSpec;
using MorvexEditor::Kind;

// Makes each picture blank at the size the layout gives it.
class LayoutGraphics : public IGraphicsWindowless
{
public:
  using IGraphicsWindowless::IGraphicsWindowless;
  LICE_IBitmap* LoadResourceImage(int id, const char*) override
  {
    for (const ControlSpec& c : MorvexEditor::kControls)
      if (c.resourceId == id) return new LICE_MemBitmap(c.frameWidth, c.frameHeight * c.frames);
    const MorvexEditor::ReadoutSpec& r = MorvexEditor::kReadout;
    if (id == r.plateResourceId) return new LICE_MemBitmap(r.width, r.height);
    if (id == r.glyphsResourceId)
      return new LICE_MemBitmap(ReadoutGlyphs::kCellWidth * ReadoutGlyphs::kNumGlyphs,
                                ReadoutGlyphs::kFrameHeight * r.glyphFrames);
    return nullptr;
  }
};

TEST(MorvexEditor, backgroundThenNineteenControlsEachOnItsParameterWithoutOverlapThenTheReadout)
{
  Morvex plug;
  auto* graphics = new LayoutGraphics(&plug, MorvexEditor::kWidth, MorvexEditor::kHeight);
  MorvexEditor::AttachControls(*graphics, plug);
  plug.AttachEditor(graphics);
  ASSERT_EQ(21, graphics->NControls());

  std::set<int> params;
  const IBox editor(0, 0, 1162, 274);
  for (int i = 0; i < MorvexEditor::kNumControls; ++i)
  {
    SCOPED_TRACE(i);
    const ControlSpec& spec = MorvexEditor::kControls[i];
    IControl* control = graphics->GetControl(i);
    EXPECT_EQ(spec.param, control->ParamIdx());
    EXPECT_EQ(IBox(spec.left, spec.top, spec.left + spec.frameWidth, spec.top + spec.frameHeight),
              control->GetBox());
    const IBox& b = control->GetBox();
    EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.right <= editor.right && b.bottom <= editor.bottom);
    if (spec.kind == Kind::Knob)
    {
      auto* knob = dynamic_cast<IKnobMultiControl*>(control);
      ASSERT_NE(nullptr, knob);
      EXPECT_EQ(121, knob->GetBitmap().N);
      EXPECT_EQ(IKnobControl::kVertical, knob->Direction());
      EXPECT_EQ(4.0, knob->Gearing());
    }
    if (spec.kind == Kind::Switch)
    {
      auto* toggle = dynamic_cast<ISwitchControl*>(control);
      ASSERT_NE(nullptr, toggle);
      EXPECT_EQ(2, toggle->GetBitmap().N);
    }
    if (i == 0) continue;
    EXPECT_TRUE(params.insert(control->ParamIdx()).second) << "second control on a parameter";
    for (int j = 1; j < i; ++j)
    {
      const IBox& o = graphics->GetControl(j)->GetBox();
      const bool overlap = b.left < o.right && o.left < b.right && b.top < o.bottom && o.top < b.bottom;
      EXPECT_FALSE(overlap) << "with control " << j;
    }
  }
  EXPECT_EQ(Kind::Background, MorvexEditor::kControls[0].kind);
  EXPECT_EQ(IBlend::kBlendClobber, graphics->GetControl(0)->GetBlend().method);
  EXPECT_EQ(editor, graphics->GetControl(0)->GetBox());
  EXPECT_EQ(0u, params.count(Morvex::kUnusedSlot));
  EXPECT_EQ(19u, params.size());

  // Last, drawn over the background's plate only, and never under the pointer.
  auto* readout = dynamic_cast<IReadoutControl*>(graphics->GetControl(MorvexEditor::kNumControls));
  ASSERT_NE(nullptr, readout);
  EXPECT_EQ(IBox(472, 40, 614, 100), readout->GetBox());
  EXPECT_EQ(-1, readout->ParamIdx());
  EXPECT_EQ(0, graphics->FindControlAt(543, 70));
  // Each control's name and its longest values fit on the plate.
  for (int c = 1; c < MorvexEditor::kNumControls; ++c)
  {
    IControl* control = graphics->GetControl(c);
    for (double v : {0.0, 0.001, 0.5, 1.0})
    {
      SCOPED_TRACE(testing::Message() << "control " << c << " at " << v);
      control->SetValueFromPlug(v);
      graphics->HandleMouseOver(control->GetBox().left + 2, control->GetBox().top + 2, IMouseKeys());
      const std::string text = readout->CurrentText();
      const std::size_t split = text.find('\n');
      ASSERT_NE(std::string::npos, split);
      const std::string lines[2] = {text.substr(0, split), text.substr(split + 1)};
      for (int line = 0; line < 2; ++line)
      {
        for (char ch : lines[line]) EXPECT_NE(nullptr, std::strchr(ReadoutGlyphs::kCharset, ch)) << ch;
        int width = -ReadoutGlyphs::kTracking[line];
        for (char ch : lines[line])
          width += ReadoutGlyphs::kAdvance[line][std::strchr(ReadoutGlyphs::kCharset, ch) - ReadoutGlyphs::kCharset];
        EXPECT_LE(width + 4, readout->GetBox().W()) << lines[line];
      }
    }
  }
  IGraphics::ReleaseModuleCaches();
}
TEST(MorvexEditor, atEveryFactorTheBoxesAreTheLayoutScaledInsideTheScreenWithoutOverlap)
{
  Morvex plug;
  auto* graphics = new LayoutGraphics(&plug, MorvexEditor::kWidth, MorvexEditor::kHeight);
  MorvexEditor::AttachControls(*graphics, plug);
  plug.AttachEditor(graphics);
  for (int quarters = 4; quarters <= 12; ++quarters)
  {
    const double f = quarters / 4.0;
    SCOPED_TRACE(f);
    graphics->SetScale(f);
    const IBox screen(0, 0, graphics->ScreenWidth(), graphics->ScreenHeight());
    EXPECT_EQ(screen, graphics->ToScreen(graphics->GetControl(0)->GetBox()));
    for (int i = 1; i < graphics->NControls(); ++i)
    {
      const IBox layout = graphics->GetControl(i)->GetBox();
      const IBox b = graphics->ToScreen(layout);
      // Corner and size each scaled and rounded: every frame fills its box.
      EXPECT_EQ(IGraphics::ScaleLength(layout.left, f), b.left);
      EXPECT_EQ(IGraphics::ScaleLength(layout.W(), f), b.W());
      EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.right <= screen.right && b.bottom <= screen.bottom);
      for (int j = 1; j < i; ++j)
      {
        const IBox o = graphics->ToScreen(graphics->GetControl(j)->GetBox());
        EXPECT_FALSE(b.left < o.right && o.left < b.right && b.top < o.bottom && o.top < b.bottom)
            << "controls " << i << " and " << j;
      }
    }
  }
  IGraphics::ReleaseModuleCaches();
}

}  // namespace
