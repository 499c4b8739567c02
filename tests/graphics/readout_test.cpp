// The readout plate: it shows the touched control's name and value while the
// pointer rests on a control and for a while after the last edit, follows
// every kind of edit, never comes up for the host's changes, and sets its
// lines from the glyph strip at the plate's centre.
#include "tests/graphics/EditorFixture.h"

#include "graphics/IKnobControl.h"
#include "graphics/IReadoutControl.h"
#include "raster/LICE_Composite.h"
#include "raster/LICE_SysBitmap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace
{
// A strip of three characters in cells of 6 x 8, two lines; pen 1 pixel
// into a cell, baseline on row 6.
constexpr char kCharset[] = " 0123456789+-.ABGIKNOSWTFHLQ";
constexpr int kCells = sizeof kCharset - 1;
int gAdvance[2][kCells];
const IGlyphStrip kStrip = {kCharset, 6, 8, 1, 6, {gAdvance[0], gAdvance[1]}, {1, 1}, {10, 24}};

constexpr int kPlateId = 5, kGlyphsId = 6;
const IBox kPlate(60, 30, 140, 60);

struct ReadoutEditor
{
  EditPlug plug{kApiVST3};
  TestGraphics* graphics = new TestGraphics(&plug);
  SmallEditor editor{*graphics, plug};
  int64_t now = 10000;
  IReadoutControl* readout = nullptr;

  ReadoutEditor()
  {
    for (int k = 0; k < kCells; ++k)
    {
      gAdvance[0][k] = 4 + k % 3;
      gAdvance[1][k] = 5 + k % 2;
    }
    graphics->AddPicture({kPlateId, kPlate.W(), kPlate.H(), 1});
    graphics->AddPicture({kGlyphsId, 6 * kCells, 8, 2});
    auto describe = [this](int c, std::string& name, std::string& value) {
      const IControl* control = graphics->GetControl(c);
      if (!control || control->ParamIdx() < 0) return false;
      name = control->ParamIdx() == EditPlug::kGain ? "GAIN" : "SW";
      char text[16];
      std::snprintf(text, sizeof text, "%.2f", control->GetValue());
      value = text;
      return true;
    };
    readout = new IReadoutControl(&plug, kPlate, graphics->LoadEditorImage(kPlateId, "plate.png"),
                                  graphics->LoadEditorImage(kGlyphsId, "glyphs.png", 2), kStrip,
                                  describe, [this] { return now; });
    graphics->AttachControl(readout);
    graphics->SetReadout(readout);
    graphics->SetHandleMouseOver(true);
    DrawDirty();
  }
  void DrawDirty()
  {
    IBox dirty;
    if (graphics->FindDirtyRegion(dirty)) graphics->DrawRegion(dirty);
  }
  bool Dirty() const { return readout->IsDirty(); }
  IMouseKeys Left() const
  {
    IMouseKeys keys;
    keys.left = true;
    return keys;
  }
};

TEST(Readout, showsWhileThePointerRestsOnAControlAndGoesAtOnceWithoutAnEdit)
{
  ReadoutEditor e;
  EXPECT_EQ("", e.readout->CurrentText());
  EXPECT_FALSE(e.Dirty());
  e.graphics->HandleMouseOver(30, 40, IMouseKeys());  // the knob
  EXPECT_EQ("GAIN\n0.50", e.readout->CurrentText());
  EXPECT_TRUE(e.Dirty());
  e.DrawDirty();
  EXPECT_FALSE(e.Dirty());
  e.graphics->HandleMouseOver(110, 20, IMouseKeys());  // the switch
  EXPECT_EQ("SW\n0.00", e.readout->CurrentText());
  // Off the controls, with no edit made: back to the panel's own plate.
  e.graphics->HandleMouseOver(180, 90, IMouseKeys());
  EXPECT_EQ("", e.readout->CurrentText());
  e.graphics->HandleMouseOver(30, 40, IMouseKeys());
  e.graphics->HandleMouseOut();
  EXPECT_EQ("", e.readout->CurrentText());
}

TEST(Readout, everyKindOfEditShowsAndLingersForOneAndAHalfSeconds)
{
  struct Case
  {
    const char* what;
    void (*edit)(ReadoutEditor&);
    const char* text;
  };
  const Case cases[] = {
    {"a drag", [](ReadoutEditor& e) {
       e.graphics->HandleMouseDown(30, 40, e.Left());
       e.graphics->HandleMouseDrag(30, 16, e.Left());
       e.graphics->HandleMouseUp(180, 90, IMouseKeys());
     }, "GAIN\n0.60"},
    {"a wheel notch", [](ReadoutEditor& e) {
       e.graphics->HandleMouseWheel(30, 40, IMouseKeys(), -2);
     }, "GAIN\n0.48"},
    {"a double click", [](ReadoutEditor& e) {
       e.graphics->UpdateParameterControls(EditPlug::kGain, 0.9, true);
       e.graphics->HandleMouseDoubleClick(30, 40, e.Left());
     }, "GAIN\n0.50"},
    {"a switch click", [](ReadoutEditor& e) {
       e.graphics->HandleMouseDown(110, 20, e.Left());
       e.graphics->HandleMouseUp(110, 20, IMouseKeys());
     }, "SW\n1.00"},
    {"the host's menu", [](ReadoutEditor& e) {
       IMouseKeys right;
       right.right = true;
       e.graphics->HandleMouseDown(30, 40, right);
       e.graphics->HandleMouseUp(30, 40, IMouseKeys());
     }, "GAIN\n0.50"},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    ReadoutEditor e;
    c.edit(e);
    e.graphics->HandleMouseOver(180, 90, IMouseKeys());  // the pointer leaves the controls
    EXPECT_EQ(c.text, e.readout->CurrentText());
    e.DrawDirty();
    e.now += IReadoutControl::kLingerMs - 1;
    EXPECT_EQ(c.text, e.readout->CurrentText());
    EXPECT_FALSE(e.Dirty());
    e.now += 1;
    EXPECT_EQ("", e.readout->CurrentText());
    EXPECT_TRUE(e.Dirty());  // the plate is drawn back on the next tick
  }
}

TEST(Readout, theHostsChangesNeverBringItUpButShowWhileItIsUp)
{
  ReadoutEditor e;
  e.graphics->UpdateParameterControls(EditPlug::kGain, 0.25, true);
  e.graphics->UpdateParameterControls(EditPlug::kSwitch, 1.0, true);
  EXPECT_EQ("", e.readout->CurrentText());
  EXPECT_FALSE(e.Dirty());
  e.graphics->HandleMouseWheel(30, 40, IMouseKeys(), 1);
  e.graphics->HandleMouseOver(180, 90, IMouseKeys());
  e.DrawDirty();
  // Automation while it lingers: the value follows, the linger does not grow.
  e.now += 1000;
  e.graphics->UpdateParameterControls(EditPlug::kGain, 0.75, true);
  EXPECT_EQ("GAIN\n0.75", e.readout->CurrentText());
  EXPECT_TRUE(e.Dirty());
  e.now += 500;
  EXPECT_EQ("", e.readout->CurrentText());
}

// The screen: at rest the background's own pixels; shown, the blank plate (copied: it is opaque)
// with each line's glyphs from its frame of the strip, centred.
TEST(Readout, linesAreSetFromTheStripCentredOnThePlate)
{
  ReadoutEditor e;
  LICE_SysBitmap* surface = e.graphics->GetDrawBitmap();
  const IBox all(0, 0, SmallEditor::kWidth, SmallEditor::kHeight);
  e.graphics->DrawRegion(all);
  std::unique_ptr<LICE_MemBitmap> background(SmallEditor::Picture(1));
  auto plateMatches = [&](LICE_IBitmap& expected) {
    int differing = 0;
    for (int y = kPlate.top; y < kPlate.bottom; ++y)
      for (int x = kPlate.left; x < kPlate.right; ++x)
        differing += (surface->Pixels()[y * surface->RowSpan() + x] & 0xFFFFFF) !=
                     (expected.Pixels()[y * expected.RowSpan() + x] & 0xFFFFFF);
    return differing;
  };
  EXPECT_EQ(0, plateMatches(*background));

  e.graphics->HandleMouseOver(30, 40, IMouseKeys());
  e.DrawDirty();
  LICE_MemBitmap expected(SmallEditor::kWidth, SmallEditor::kHeight);
  std::unique_ptr<LICE_MemBitmap> plate(MakeStrip(kPlate.W(), kPlate.H(), 1, kPlateId));
  std::unique_ptr<LICE_MemBitmap> glyphs(MakeStrip(6 * kCells, 8, 2, kGlyphsId));
  LICE_Composite(&expected, background.get(), 0, 0, nullptr, 1.0f, CompositeCopy);
  LICE_Composite(&expected, plate.get(), kPlate.left, kPlate.top, nullptr, 1.0f, CompositeCopy);
  const char* lines[2] = {"GAIN", "0.50"};
  for (int line = 0; line < 2; ++line)
  {
    int width = -kStrip.tracking[line];
    for (const char* c = lines[line]; *c; ++c) width += gAdvance[line][std::strchr(kCharset, *c) - kCharset];
    int pen = kPlate.left + (kPlate.W() - width) / 2;
    for (const char* c = lines[line]; *c; ++c)
    {
      const int cell = static_cast<int>(std::strchr(kCharset, *c) - kCharset);
      const LICE_Rect src = {cell * 6, line * 8, cell * 6 + 6, line * 8 + 8};
      LICE_Composite(&expected, glyphs.get(), pen - 1, kPlate.top + kStrip.lineBaseline[line] - 6, &src,
                     1.0f, CompositeUseSourceAlpha);
      pen += gAdvance[line][cell];
    }
  }
  EXPECT_EQ(0, plateMatches(expected));

  // Gone again, the background's plate is back, pixel for pixel.
  e.graphics->HandleMouseOut();
  e.DrawDirty();
  EXPECT_EQ(0, plateMatches(*background));
}
}  // namespace
