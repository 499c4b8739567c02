#include "tests/host/EditorScreen.h"

#include "engine/Morvex.h"
#include "raster/LICE_Composite.h"
#include "raster/LICE_MemBitmap.h"
#include "tools/host/ParameterChanges.h"

#include <cmath>
#include <string>

const MorvexEditor::ControlSpec& SpecFor(int param)
{
  for (const auto& c : MorvexEditor::kControls)
    if (c.param == param) return c;
  return MorvexEditor::kControls[0];
}

bool ProcessFirstBlockWithSettings(host::PluginInstance& plugin)
{
  host::ParameterChanges changes;
  const struct
  {
    int param;
    double value;
  } settings[] = {
    {Morvex::kLowGain, 0.75}, {Morvex::kHighMidFrequency, 0.2}, {Morvex::kLowBell, 1.0},
    {Morvex::kEQBypass, 0.0}, {Morvex::kOutput, 1.0},
  };
  for (const auto& s : settings) changes.add(s.param, s.value);
  std::string error;
  if (!plugin.prepare(host::PluginInstance::Setup(), error)) return false;
  std::vector<float> silence(512);
  float* channels[2] = {silence.data(), silence.data()};
  return plugin.process32(channels, channels, 512, &changes);
}

bool ProcessBlockWithChange(host::PluginInstance& plugin, int param, double value)
{
  host::ParameterChanges changes;
  changes.add(static_cast<Steinberg::Vst::ParamID>(param), value);
  std::vector<float> silence(512);
  float* channels[2] = {silence.data(), silence.data()};
  return plugin.process32(channels, channels, 512, &changes);
}

int PixelsDifferingFromLayout(const std::vector<uint32_t>& screen, host::PluginInstance& plugin,
                              const std::function<LICE_IBitmap*(const MorvexEditor::ControlSpec&)>& picture)
{
  constexpr int kWidth = MorvexEditor::kWidth;
  constexpr int kHeight = MorvexEditor::kHeight;
  if (screen.size() != size_t(kWidth) * kHeight) return -1;
  LICE_MemBitmap expected(kWidth, kHeight);
  for (const auto& c : MorvexEditor::kControls)
  {
    std::unique_ptr<LICE_IBitmap> strip(picture(c));
    if (!strip) return -1;
    if (c.param < 0)
    {
      LICE_Composite(&expected, strip.get(), 0, 0, nullptr, 1.0f, CompositeCopy);
      continue;
    }
    const double value = plugin.controller()->getParamNormalized(static_cast<unsigned>(c.param));
    const int frame = static_cast<int>(std::lround(value * (c.frames - 1)));
    const LICE_Rect source = {0, frame * c.frameHeight, c.frameWidth, (frame + 1) * c.frameHeight};
    LICE_Composite(&expected, strip.get(), c.left, c.top, &source, 1.0f, CompositeUseSourceAlpha);
  }
  int differing = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      differing += screen[size_t(y) * kWidth + x] != (expected.Pixels()[y * expected.RowSpan() + x] & 0xFFFFFF);
  return differing;
}
