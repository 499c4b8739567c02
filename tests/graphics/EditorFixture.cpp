#include "tests/graphics/EditorFixture.h"

#include "graphics/IBitmapControl.h"
#include "graphics/IKnobControl.h"
#include "raster/LICE_PNGRows.h"
#include "tests/raster/png_test_writer.h"

#include <memory>

namespace
{
IPlugConfig EditConfig(int api)
{
  IPlugConfig config;
  config.nParams = EditPlug::kNumParams;
  config.nPresets = 1;
  config.channelIO = "2-2";
  config.effectName = "Edit";
  config.apiCode = api;
  return config;
}
}  // namespace

EditPlug::EditPlug(int api) : IPlugBase(EditConfig(api))
{
  GetParam(kGain)->DefineContinuous("Gain", 0.0, -24.0, 24.0, 0.01, "dB");
  GetParam(kSwitch)->DefineInteger("Switch", 0, 0, 1);
  GetParam(kFreq)->DefineContinuous("Freq", 120.0, 30.0, 450.0, 0.01, "Hz", "", 2.0);
  GetParam(kMode)->DefineEnum("Mode", 1, 3);
  GetParam(kMode)->SetDisplayText(0, "Soft");
  GetParam(kMode)->SetDisplayText(1, "Warm");
  GetParam(kMode)->SetDisplayText(2, "Hot");
}

std::string EditPlug::Kinds() const
{
  std::string kinds;
  for (const HostEvent& e : events) kinds += e.kind;
  return kinds;
}

TestGraphics::TestGraphics(IPlugBase* plug, int width, int height)
  : IGraphicsWindowless(plug, width, height)
{
}

LICE_IBitmap* TestGraphics::LoadResourceImage(int id, const char*)
{
  ++decodes;
  decodedIds.push_back(id);
  if (missing.count(id)) return nullptr;
  for (const Picture& p : pictures)
  {
    if (p.id == id) return MakeStrip(p.w, p.h, p.frames, static_cast<unsigned>(id));
  }
  return SmallEditor::Picture(id);
}

std::unique_ptr<LICE_PNGRows> TestGraphics::OpenResourceRows(int id, const char* name)
{
  if (!rowsFromPng || missing.count(id)) return nullptr;
  std::unique_ptr<LICE_IBitmap> picture(LoadResourceImage(id, name));
  --decodes;  // that was only to get the pixels
  decodedIds.pop_back();
  if (!picture) return nullptr;
  pngtest::Bytes png = pngtest::EncodePng(pngtest::RgbaImage(
      picture->Width(), picture->Height(),
      [&](int x, int y) { return picture->Pixels()[y * picture->RowSpan() + x]; }));
  if (damaged.count(id)) png.resize(png.size() / 5);
  decodedIds.push_back(id);
  return LICE_PNGRows::Open(std::move(png));
}

LICE_MemBitmap* MakeStrip(int w, int h, int frames, unsigned seed)
{
  auto* bitmap = new LICE_MemBitmap(w, h * frames);
  for (int y = 0; y < h * frames; ++y)
  {
    for (int x = 0; x < w; ++x)
    {
      const unsigned v = (static_cast<unsigned>(x * 7 + y * 13) + seed * 31) * 2654435761u;
      const int alpha = (x * 255) / (w > 1 ? w - 1 : 1);  // 0 at the left, 255 at the right
      bitmap->Pixels()[y * bitmap->RowSpan() + x] =
          LICE_RGBA(static_cast<int>(v >> 24), static_cast<int>(v >> 16), y / h * 40, alpha);
    }
  }
  return bitmap;
}

LICE_MemBitmap* SmallEditor::Picture(int id)
{
  switch (id)
  {
    case 1: return MakeStrip(kWidth, kHeight, 1, 1);
    case 2: return MakeStrip(40, 60, 121, 2);
    case 3: return MakeStrip(20, 20, 2, 3);
    // The double-size versions, drawn anew rather than enlarged.
    case 101: return MakeStrip(2 * kWidth, 2 * kHeight, 1, 101);
    case 102: return MakeStrip(80, 120, 121, 102);
    case 103: return MakeStrip(40, 40, 2, 103);
    default: return nullptr;
  }
}

SmallEditor::SmallEditor(IGraphics& graphics, IPlugBase& plug)
{
  graphics.AttachBackground(new IBitmapControl(&plug, IBox(0, 0, kWidth, kHeight),
                                               graphics.LoadEditorImage(1, "bg.png"),
                                               IBlend(IBlend::kBlendClobber, 1.0f)));
  knob = new IKnobMultiControl(&plug, 10, 10, EditPlug::kGain,
                               graphics.LoadEditorImage(2, "knob.png", 121));
  toggle = new ISwitchControl(&plug, 100, 10, EditPlug::kSwitch,
                              graphics.LoadEditorImage(3, "switch.png", 2));
  graphics.AttachControl(knob);
  graphics.AttachControl(toggle);
  plug.AttachEditor(&graphics);
}
