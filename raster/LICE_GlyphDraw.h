#pragma once
// Compositing one cached glyph mask onto a bitmap in the font's colours.

#include "raster/LICE_Composite.h"
#include "raster/LICE_GlyphCache.h"
#include "raster/LICE_IBitmap.h"

struct LICE_GlyphPaint {
  LICE_Color32 text;        // ink (alpha unused except by the opaque fast path)
  LICE_Color32 background;  // behind the glyph box in opaque background mode
  LICE_Color32 effect;      // shadow and outline pixels
  int backgroundMode;       // 1 transparent, 2 opaque
  int mode;                 // composite mode; its low byte picks the rule
  float weight;
  int fontFlags;
};

// Draws the mask of `glyph` with the pen at (x, y): the mask starts the glyph's
// left offset before the pen (along the line for vertical text). Clipped to clip
// and to the destination; false when nothing of it is visible. Mask bytes of 0
// leave the destination alone in every mode.
bool LICE_DrawGlyphMask(LICE_IBitmap* dest, const GlyphRecord& glyph, const unsigned char* mask,
                        int x, int y, const LICE_Rect& clip, const LICE_GlyphPaint& paint);
