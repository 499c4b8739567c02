#pragma once

#include "graphics/IControl.h"

#include <cstdint>
#include <functional>
#include <string>

// Engraved letters cut once into a picture: one frame per line style, each a
// row of equal cells in the order of charset. A glyph's pen origin lies pad
// pixels into its cell, on row baseline; advance includes the tracking that
// follows a letter, which a centred line leaves out after its last.
struct IGlyphStrip
{
  static constexpr int kLines = 2;
  const char* charset;
  int cellWidth;
  int frameHeight;
  int pad;
  int baseline;
  const int* advance[kLines];
  int tracking[kLines];
  int lineBaseline[kLines];  // below the plate's top
};

// A plate of the editor that, while the user touches a control, shows that
// control's name and value in two engraved lines; otherwise it draws nothing
// and the background's own plate shows. Changes from the host never bring
// it up, but while it shows it follows them.
//
// It shows while the pointer rests on a control, and after the pointer left
// the controls for kLingerMs after the last edit. It is drawn on the timer
// like any control: dirty whenever the text it would show differs from the
// text it drew.
class IReadoutControl : public IControl
{
public:
  static constexpr int64_t kLingerMs = 1500;
  // A control's name and value text; false for one with nothing to show.
  using Describe = std::function<bool(int control, std::string& name, std::string& value)>;
  using Clock = std::function<int64_t()>;  // milliseconds, monotonic
  static int64_t SteadyMs();

  // blankPlate is an opaque picture of the plate box.
  IReadoutControl(IPlugBase* plug, const IBox& plate, const IBitmapRef& blankPlate,
                  const IBitmapRef& glyphs, const IGlyphStrip& strip, Describe describe,
                  Clock clock = SteadyMs);

  // The pointer is now on control c, or on none (c < 0).
  void PointerOn(int c);
  // The user edited control c just now.
  void Edited(int c);

  // "NAME\nVALUE" as the plate would show it now, or "" for the plate's own.
  std::string CurrentText() const;
  // Where the line's first glyph's pen starts, centred on the plate.
  int LineStart(int line, const std::string& text) const;

  bool IsDirty() const override;
  bool Draw(IGraphics& graphics) override;
  bool IsHit(int, int) const override { return false; }

private:
  int Advance(int line, char c) const;
  void DrawLine(IGraphics& graphics, int line, const std::string& text);

  IBitmapRef mPlate;
  IBitmapRef mGlyphs;
  IGlyphStrip mStrip;
  Describe mDescribe;
  Clock mClock;
  int mTouched = -1;
  bool mPointerOnControl = false;
  bool mEdited = false;
  int64_t mLastEdit = 0;
  std::string mDrawnText;
};
