#include "engine/Morvex.h"

#include "engine/MorvexEditor.h"
#include "framework/FourCC.h"
#include "graphics/IEditorFactory.h"
#include "graphics/IGraphics.h"

#include <initializer_list>

namespace
{
struct ContinuousParam
{
  int index;
  const char* name;
  double defaultValue;
  double minimum;
  double maximum;
  double shape;
  const char* label;  // the unit hosts show beside the value
};

struct SwitchParam
{
  int index;
  const char* name;
  int defaultValue;
};

// In definition order. Every continuous parameter steps by 0.01 and carries
// its real unit: decibels for the gains, hertz for the frequencies and the
// filters, none for the bandwidths. Shape 2 gives the low end of the range
// more travel.
const ContinuousParam kContinuousParams[] = {
  {Morvex::kInput, "Input", 0.0, -24.0, 24.0, 1.0, "dB"},
  {Morvex::kHighFrequency, "High Frequency", 5000.0, 1500.0, 16000.0, 1.0, "Hz"},
  {Morvex::kHighGain, "High Gain", 0.0, -16.0, 16.0, 1.0, "dB"},
  {Morvex::kHighMidFrequency, "High Mid Frequency", 3000.0, 600.0, 7000.0, 2.0, "Hz"},
  {Morvex::kHighMidBandwidth, "High Mid Bandwidth", 0.5, 0.0, 1.0, 2.0, ""},
  {Morvex::kHighMidGain, "High Mid Gain", 0.0, -16.0, 16.0, 1.0, "dB"},
  {Morvex::kHighpassFilter, "Highpass Filter", 16.0, 16.0, 350.0, 1.0, "Hz"},
  {Morvex::kLowFrequency, "Low Frequency", 120.0, 30.0, 450.0, 2.0, "Hz"},
  {Morvex::kLowGain, "Low Gain", 0.0, -16.0, 16.0, 1.0, "dB"},
  {Morvex::kLowMidBandwidth, "Low Mid Bandwidth", 0.5, 0.0, 1.0, 2.0, ""},
  {Morvex::kLowMidGain, "Low Mid Gain", 0.0, -16.0, 16.0, 1.0, "dB"},
  {Morvex::kLowMidFrequency, "Low Mid Frequency", 500.0, 200.0, 2500.0, 1.0, "Hz"},
  {Morvex::kLowpassFilter, "Lowpass Filter", 20000.0, 1000.0, 20000.0, 2.0, "Hz"},
  {Morvex::kOutput, "Output", 0.0, -24.0, 24.0, 1.0, "dB"},
};

// The two "Bypass" switches act as enables: 1 means processing (or the
// filters) are in, which is why "EQ Bypass" starts at 1.
const SwitchParam kSwitchParams[] = {
  {Morvex::kEQBypass, "EQ Bypass", 1},
  {Morvex::kFilterBypass, "Filter Bypass", 0},
  {Morvex::kLowBell, "Low Bell", 0},
  {Morvex::kHighBell, "High Bell", 0},
  {Morvex::kIOLink, "I/O Link", 0},
};

constexpr double kContinuousStep = 0.01;
}  // namespace

IPlugConfig Morvex::Config()
{
  IPlugConfig config;
  config.nParams = kNumParams;
  config.nPresets = kNumPresets;
  config.channelIO = kChannelIO;
  config.effectName = "Morvex";
  config.productName = "";
  config.mfrName = "Pellicorn";
  config.uniqueID = FourCC("Mvx1");
  config.mfrID = FourCC("Pelc");
  config.vendorVersion = 0x50100;  // 5.1.0
  config.apiCode = kApiVST3;
  return config;
}

Morvex::Morvex(const IPlugInstanceInfo& instanceInfo)
  : MorvexBase(Config()), mInstanceInfo(instanceInfo)
{
  // Engine state: the members start as pass-through sections and resting
  // smoothers; the shelves and the high-pass get their design codes here. The
  // mirror starts from the defaults so a block before the host's first
  // preset restore still sees sensible controls.
  for (ChannelSections* ch : {&mLeft, &mRight})
  {
    ch->highpass.type = CookbookBiquad::kHighpass;
    ch->lowShelf.type = CookbookBiquad::kLowShelf;
    ch->highShelf.type = CookbookBiquad::kHighShelf;
  }

  DefineParameters();
  for (int i = 0; i < kNumMirrored; ++i) mMirror[i] = GetParam(i)->Value();

  // The editor: this platform's window with the layout's pictures and
  // controls. Where there is no editor window, hosts show their own panel.
  if (IGraphics* editor = MakeEditorGraphics(this, MorvexEditor::kWidth, MorvexEditor::kHeight,
                                             IGraphics::kDefaultFps, instanceInfo.moduleHandle))
  {
    MorvexEditor::AttachControls(*editor, *this);
    AttachEditor(editor);
  }

  CaptureDefaultPreset();
}

void Morvex::DefineParameters()
{
  for (const ContinuousParam& p : kContinuousParams)
  {
    IParamEntry* param = GetParam(p.index);
    param->DefineContinuous(p.name, p.defaultValue, p.minimum, p.maximum, kContinuousStep, p.label,
                            "", 1.0);
    param->SetShape(p.shape);
  }
  for (const SwitchParam& p : kSwitchParams)
  {
    GetParam(p.index)->DefineInteger(p.name, p.defaultValue, 0, 1, "", "");
  }
}
