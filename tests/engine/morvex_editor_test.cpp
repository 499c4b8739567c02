// The editor's layout: what the Morvex constructor attaches, where, and on
// which parameters, with pictures of the layout's own sizes.
#include <gtest/gtest.h>

#include "engine/Morvex.h"
#include "engine/MorvexEditor.h"
#include "graphics/IBitmapControl.h"
#include "graphics/IGraphicsWindowless.h"
#include "graphics/IKnobControl.h"
#include "raster/LICE_MemBitmap.h"

#include <set>

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
    return nullptr;
  }
};

TEST(MorvexEditor, backgroundThenNineteenControlsEachOnItsParameterWithoutOverlap)
{
  Morvex plug;
  auto* graphics = new LayoutGraphics(&plug, MorvexEditor::kWidth, MorvexEditor::kHeight);
  MorvexEditor::AttachControls(*graphics, plug);
  plug.AttachEditor(graphics);
  ASSERT_EQ(20, graphics->NControls());

  std::set<int> params;
  const IBox editor(0, 0, 1162, 274);
  for (int i = 0; i < graphics->NControls(); ++i)
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
  IGraphics::ReleaseModuleCaches();
}
}  // namespace
