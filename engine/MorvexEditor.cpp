#include "engine/MorvexEditor.h"

#include "engine/Morvex.h"
#include "engine/MorvexReadout.h"
#include "engine/ReadoutGlyphs.h"
#include "framework/IParamEntry.h"
#include "graphics/IBitmapControl.h"
#include "graphics/IGraphics.h"
#include "graphics/IKnobControl.h"
#include "graphics/IReadoutControl.h"

namespace MorvexEditor
{
const ControlSpec kControls[kNumControls] = {
  {Kind::Background, -1, 101, "resources/img/BG.png", 1, 0, 0, 1162, 274},
  {Kind::Switch, Morvex::kEQBypass, 102, "resources/img/BY.png", 2, 1064, 110, 33, 33},
  {Kind::Switch, Morvex::kFilterBypass, 104, "resources/img/FBY.png", 2, 58, 109, 35, 36},
  {Kind::Switch, Morvex::kLowBell, 118, "resources/img/LB.png", 2, 199, 110, 33, 33},
  {Kind::Switch, Morvex::kHighBell, 119, "resources/img/HB.png", 2, 862, 110, 33, 33},
  {Kind::Switch, Morvex::kIOLink, 120, "resources/img/LINK.png", 2, 994, 109, 35, 34},
  {Kind::Knob, Morvex::kInput, 103, "resources/img/INPUT.png", 121, 907, 34, 73, 73},
  {Kind::Knob, Morvex::kHighFrequency, 105, "resources/img/HF.png", 121, 844, 160, 71, 70},
  {Kind::Knob, Morvex::kHighGain, 106, "resources/img/HG.png", 121, 770, 32, 80, 77},
  {Kind::Knob, Morvex::kHighMidFrequency, 107, "resources/img/HMF.png", 121, 708, 159, 76, 73},
  {Kind::Knob, Morvex::kHighMidBandwidth, 108, "resources/img/HMFB.png", 121, 578, 160, 73, 72},
  {Kind::Knob, Morvex::kHighMidGain, 109, "resources/img/HMG.png", 121, 636, 32, 79, 79},
  {Kind::Knob, Morvex::kHighpassFilter, 110, "resources/img/HPF.png", 121, 39, 159, 72, 73},
  {Kind::Knob, Morvex::kLowFrequency, 111, "resources/img/LF.png", 121, 179, 159, 72, 72},
  {Kind::Knob, Morvex::kLowGain, 112, "resources/img/LG.png", 121, 238, 31, 80, 80},
  {Kind::Knob, Morvex::kLowMidFrequency, 113, "resources/img/LMF.png", 121, 443, 159, 74, 73},
  {Kind::Knob, Morvex::kLowMidBandwidth, 114, "resources/img/LMFB.png", 121, 312, 160, 72, 71},
  {Kind::Knob, Morvex::kLowMidGain, 115, "resources/img/LMG.png", 121, 371, 31, 80, 80},
  {Kind::Knob, Morvex::kLowpassFilter, 116, "resources/img/LPF.png", 121, 113, 34, 72, 72},
  {Kind::Knob, Morvex::kOutput, 117, "resources/img/OUT.png", 121, 975, 160, 74, 71},
};

const ReadoutSpec kReadout = {121, "resources/img/PLATE.png", 122, "resources/img/GLYPHS.png",
                               ReadoutGlyphs::kNumLines, ReadoutGlyphs::kPlateLeft,
                               ReadoutGlyphs::kPlateTop, ReadoutGlyphs::kPlateWidth,
                               ReadoutGlyphs::kPlateHeight};

namespace
{
const IGlyphStrip kGlyphStrip = {
  ReadoutGlyphs::kCharset,
  ReadoutGlyphs::kCellWidth,
  ReadoutGlyphs::kFrameHeight,
  ReadoutGlyphs::kPad,
  ReadoutGlyphs::kBaseline,
  {ReadoutGlyphs::kAdvance[ReadoutGlyphs::kNameLine], ReadoutGlyphs::kAdvance[ReadoutGlyphs::kValueLine]},
  {ReadoutGlyphs::kTracking[ReadoutGlyphs::kNameLine], ReadoutGlyphs::kTracking[ReadoutGlyphs::kValueLine]},
  {ReadoutGlyphs::kLineBaseline[ReadoutGlyphs::kNameLine],
   ReadoutGlyphs::kLineBaseline[ReadoutGlyphs::kValueLine]},
};

void AttachReadout(IGraphics& graphics, IPlugBase& plug)
{
  const ReadoutSpec& r = kReadout;
  // The control's value, not the parameter's: the audio thread writes the
  // parameter, and the control holds the same value as an atomic.
  auto describe = [&graphics, &plug](int c, std::string& name, std::string& value) {
    const IControl* control = graphics.GetControl(c);
    const int param = control ? control->ParamIdx() : -1;
    const char* panelName = MorvexReadout::PanelName(param);
    const IParamEntry* entry = panelName ? plug.GetParam(param) : nullptr;
    if (!entry) return false;
    name = panelName;
    value = MorvexReadout::ValueText(param, entry->NormalizedToPlain(control->GetValue()));
    return true;
  };
  auto* readout = new IReadoutControl(
      &plug, IBox(r.left, r.top, r.left + r.width, r.top + r.height),
      graphics.LoadEditorImage(r.plateResourceId, r.plateFile),
      graphics.LoadEditorImage(r.glyphsResourceId, r.glyphsFile, r.glyphFrames), kGlyphStrip,
      describe);
  graphics.AttachControl(readout);
  graphics.SetReadout(readout);
  graphics.SetHandleMouseOver(true);
}
}  // namespace

void AttachControls(IGraphics& graphics, IPlugBase& plug)
{
  for (const ControlSpec& c : kControls)
  {
    const IBitmapRef picture = graphics.LoadEditorImage(c.resourceId, c.file, c.frames);
    switch (c.kind)
    {
      case Kind::Background:
        graphics.AttachBackground(new IBitmapControl(&plug, IBox(0, 0, kWidth, kHeight), picture,
                                                     IBlend(IBlend::kBlendClobber, 1.0f)));
        break;
      case Kind::Switch:
        graphics.AttachControl(new ISwitchControl(&plug, c.left, c.top, c.param, picture));
        break;
      case Kind::Knob:
        graphics.AttachControl(new IKnobMultiControl(&plug, c.left, c.top, c.param, picture,
                                                     IKnobControl::kVertical, 4.0));
        break;
    }
  }
  AttachReadout(graphics, plug);
}
}  // namespace MorvexEditor
