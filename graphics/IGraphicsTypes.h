#pragma once
// The small value types the editor passes around: mouse state, colours, text
// styles, blends, picture references and the value-entry field's state.

#include "raster/LICE_Color.h"

class LICE_IBitmap;
class LICE_IFont;

// Mouse buttons and modifier keys at the time of a mouse event.
struct IMouseKeys
{
  bool left = false;
  bool right = false;
  bool shift = false;
  bool control = false;
  bool alt = false;

  // Shift or control: the fine-adjust modifier of knobs.
  bool Fine() const { return shift || control; }
};

struct IColour
{
  int alpha = 255;
  int red = 0;
  int green = 0;
  int blue = 0;

  IColour() = default;
  IColour(int a, int r, int g, int b) : alpha(a), red(r), green(g), blue(b) {}

  LICE_Color32 ToColor32() const
  {
    return LICE_RGBA(red, green, blue, alpha);
  }
};

struct ITextStyle
{
  enum Style
  {
    kStyleNormal = 0,
    kStyleBold = 1,
    kStyleItalic = 2
  };
  enum Align
  {
    kAlignNear = 0,
    kAlignCenter = 1,
    kAlignFar = 2
  };
  enum Quality
  {
    kQualityDefault = 0,
    kQualityNonAntiAliased = 1,
    kQualityAntiAliased = 2,
    kQualityClearType = 3
  };
  static constexpr int kFaceSize = 32;

  char face[kFaceSize] = "Verdana";
  int size = 12;  // font height in pixels
  IColour colour{255, 0, 0, 0};
  IColour entryBackground{255, 255, 255, 255};
  IColour entryText{255, 0, 0, 0};
  int style = kStyleNormal;
  int align = kAlignCenter;
  int orientation = 0;  // degrees
  int quality = kQualityDefault;
  // Filled on first use from the module-wide font cache, which owns it.
  LICE_IFont* cachedFont = nullptr;
};

// How a control's picture lands on the drawing surface.
struct IBlend
{
  enum Method
  {
    kBlendNone = 0,
    kBlendClobber = 1,
    kBlendAdd = 2,
    kBlendColourDodge = 3
  };

  int method = kBlendNone;
  float weight = 1.0f;  // opacity, 0..1

  IBlend() = default;
  IBlend(int m, float w) : method(m), weight(w) {}
};

// A decoded picture held by the module-wide image cache. A strip of frames
// lies stacked vertically unless framesAreHorizontal is set. A picture that
// could not be loaded gives a reference with no bitmap and a size of 0 x 0,
// which draws nothing.
struct IBitmapRef
{
  LICE_IBitmap* bitmap = nullptr;
  int W = 0;
  int H = 0;
  int N = 1;
  bool framesAreHorizontal = false;
  int id = -1;  // the resource it was loaded from; -1 for a picture of no resource

  int FrameWidth() const { return framesAreHorizontal && N > 0 ? W / N : W; }
  int FrameHeight() const { return !framesAreHorizontal && N > 0 ? H / N : H; }
};

// The value-entry field's life: the window opens it in None, the user types
// in Editing, a redraw parks it in Update, and Commit or Cancel close it at
// the next timer tick.
enum class EntryState
{
  None = 0,
  Editing = 1,
  Update = 2,
  Cancel = 3,
  Commit = 4
};
