#include "tests/host/EditorScreen.h"

#include "engine/Morvex.h"
#include "engine/MorvexReadout.h"
#include "engine/ReadoutGlyphs.h"
#include "raster/LICE_Composite.h"
#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNG.h"
#include "raster/LICE_Resample.h"
#include "tools/host/ParameterChanges.h"

#include <cmath>
#include <cstring>
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

PictureLoader SourceTreePictures(const std::string& root)
{
  return [root](const MorvexEditor::ControlSpec& c, bool doubleSize) -> LICE_IBitmap* {
    std::string file = c.file;
    if (doubleSize) file.insert(file.rfind('/') + 1, "2x/");
    return LICE_ReadPNGFile((root + "/" + file).c_str());
  };
}

int ScaledLength(int length, double scale)
{
  return static_cast<int>(std::lround(length * scale));
}

namespace
{
// The readout's plate and letters at factor k (1 or 2), composited onto the
// expected screen.
bool ComposeReadout(LICE_IBitmap& expected, host::PluginInstance& plugin, const PictureLoader& picture,
                    int k, int param)
{
  using namespace ReadoutGlyphs;
  const MorvexEditor::ReadoutSpec& r = MorvexEditor::kReadout;
  const MorvexEditor::ControlSpec plateSpec = {MorvexEditor::Kind::Background, -1, r.plateResourceId,
                                               r.plateFile, 1, r.left, r.top, r.width, r.height};
  const MorvexEditor::ControlSpec glyphSpec = {MorvexEditor::Kind::Background, -1, r.glyphsResourceId,
                                               r.glyphsFile, kNumLines, 0, 0, 0, 0};
  std::unique_ptr<LICE_IBitmap> plate(picture(plateSpec, k == 2));
  std::unique_ptr<LICE_IBitmap> glyphs(picture(glyphSpec, k == 2));
  if (!plate || !glyphs) return false;
  LICE_Composite(&expected, plate.get(), r.left * k, r.top * k, nullptr, 1.0f, CompositeUseSourceAlpha);
  const auto id = static_cast<Steinberg::Vst::ParamID>(param);
  const double plain =
      plugin.controller()->normalizedParamToPlain(id, plugin.controller()->getParamNormalized(id));
  const std::string lines[kNumLines] = {MorvexReadout::PanelName(param),
                                        MorvexReadout::ValueText(param, plain)};
  for (int line = 0; line < kNumLines; ++line)
  {
    int width = -kTracking[line];
    for (char c : lines[line]) width += kAdvance[line][std::strchr(kCharset, c) - kCharset];
    int pen = r.left + (r.width - width) / 2;
    for (char c : lines[line])
    {
      const int cell = static_cast<int>(std::strchr(kCharset, c) - kCharset);
      const LICE_Rect source = {cell * kCellWidth * k, line * kFrameHeight * k,
                                (cell + 1) * kCellWidth * k, (line + 1) * kFrameHeight * k};
      if (c != ' ')
        LICE_Composite(&expected, glyphs.get(), (pen - kPad) * k,
                       (r.top + kLineBaseline[line] - kBaseline) * k, &source, 1.0f,
                       CompositeUseSourceAlpha);
      pen += kAdvance[line][cell];
    }
  }
  return true;
}
}  // namespace

int PixelsDifferingFromLayout(const std::vector<uint32_t>& screen, host::PluginInstance& plugin,
                              const PictureLoader& picture, double scale, int readoutParam)
{
  const int width = ScaledLength(MorvexEditor::kWidth, scale);
  const int height = ScaledLength(MorvexEditor::kHeight, scale);
  if (screen.size() != size_t(width) * height) return -1;
  const bool twice = scale != 1.0;
  const int k = twice ? 2 : 1;
  LICE_MemBitmap expected(width, height);
  for (const auto& c : MorvexEditor::kControls)
  {
    std::unique_ptr<LICE_IBitmap> strip(picture(c, twice));
    if (!strip) return -1;
    int frame = 0;
    if (c.param >= 0)
    {
      const double value = plugin.controller()->getParamNormalized(static_cast<unsigned>(c.param));
      frame = static_cast<int>(std::lround(value * (c.frames - 1)));
    }
    const LICE_Rect source = {0, frame * c.frameHeight * k, c.frameWidth * k,
                              (frame + 1) * c.frameHeight * k};
    LICE_MemBitmap scaled(ScaledLength(c.frameWidth, scale), ScaledLength(c.frameHeight, scale));
    if (scale == k)
      LICE_Composite(&scaled, strip.get(), 0, 0, &source, 1.0f, CompositeCopy);
    else if (!LICE_ResampleArea(&scaled, {0, 0, scaled.Width(), scaled.Height()}, strip.get(), source))
      return -1;
    LICE_Composite(&expected, &scaled, ScaledLength(c.left, scale), ScaledLength(c.top, scale),
                   nullptr, 1.0f, c.param < 0 ? CompositeCopy : CompositeUseSourceAlpha);
  }
  if (readoutParam >= 0 && (scale != k || !ComposeReadout(expected, plugin, picture, k, readoutParam)))
    return -1;
  int differing = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      differing += screen[size_t(y) * width + x] != (expected.Pixels()[y * expected.RowSpan() + x] & 0xFFFFFF);
  return differing;
}
