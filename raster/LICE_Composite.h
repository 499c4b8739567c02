#pragma once
// The two raster operations everything is drawn with: LICE_Composite copies or
// blends a rectangle of one bitmap onto another, LICE_FillArea fills or blends a
// rectangle with one colour. Both clip to the bitmaps, honour bottom-up storage
// and silently draw nothing when there is nothing to draw on.

#include "raster/LICE_IBitmap.h"

// Composite modes. The low byte picks the combiner; CompositeUseSourceAlpha makes
// the source pixel's alpha scale the weight. A low byte of CompositeChannelCopy or
// above copies one channel: bits 0-1 name the source channel, bits 2-3 the
// destination channel (0 blue, 1 green, 2 red, 3 alpha).
enum {
  CompositeCopy = 0,
  CompositeAdd = 1,
  CompositeDodge = 2,
  CompositeMultiply = 3,
  CompositeOverlay = 4,
  CompositeHSVAdjust = 5,
  CompositeChannelCopy = 0xF0,
  CompositeModeMask = 0xFF,
  CompositeUseSourceAlpha = 0x10000
};

constexpr int LICE_ChannelCopyMode(int sourceChannel, int destChannel)
{
  return CompositeChannelCopy | (sourceChannel & 3) | ((destChannel & 3) << 2);
}

// Integer rectangle; right and bottom are exclusive.
struct LICE_Rect {
  int left;
  int top;
  int right;
  int bottom;
};

// Draws sourceRect of src (null: all of it) with its top-left pixel at (dx, dy)
// of dest. A rectangle reaching left of or above the source moves the drawing
// right or down by the missing amount. Weight 0 draws nothing, and so does any
// weight below 1/256 except in channel copy, which ignores the weight. Weights
// above 1 count as 1.
void LICE_Composite(LICE_IBitmap* dest, LICE_IBitmap* src, int dx, int dy,
                    const LICE_Rect* sourceRect, float weight, int mode);

// Fills width x height pixels at (x, y) with colour. With CompositeUseSourceAlpha
// the colour's alpha scales the weight. The blend uses the weight's integer form
// k both as weight and as the colour's alpha, so a plain copy pulls the alpha
// channel toward k.
void LICE_FillArea(LICE_IBitmap* dest, int x, int y, int width, int height,
                   LICE_Color32 colour, float weight, int mode);

// The integer weight the combiners use: trunc(weight * 256), limited to 0..256
// (weights above 1 count as 1; negative or undefined weights give 0).
int LICE_WeightToInt(float weight);
