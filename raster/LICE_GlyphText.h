#pragma once
// The glyph way of laying out text: walking UTF-8 text glyph by glyph through a
// font's cache, to measure it or to draw it.

#include "raster/LICE_Composite.h"
#include "raster/LICE_GlyphCache.h"
#include "raster/LICE_IBitmap.h"

// What the walk needs from a font.
class LICE_GlyphProvider {
 public:
  // The record of c, rendered when not cached yet; null when c cannot be cached.
  virtual const GlyphRecord* RenderedGlyph(int c) = 0;
  // Draws c's cached mask with the pen at (x, y); false when nothing is visible.
  virtual bool DrawCachedGlyph(LICE_IBitmap* dest, int c, int x, int y, const LICE_Rect* clip) = 0;

 protected:
  ~LICE_GlyphProvider() = default;
};

struct LICE_GlyphLayout {
  int lineHeight;
  int lineSpacing;  // extra pixels when text breaks to a new line
  int fontFlags;    // FontVertical and FontBottomUp matter here
};

// Measures text (length bytes, or up to the zero when negative): rect's right and
// bottom become left + width and top + height. Gives the height, or the width
// for vertical text. Carriage returns are skipped; a line feed breaks the line,
// or counts as a space with LICE_DT_SINGLELINE. Characters that cannot be cached
// or render to nothing take no room.
int LICE_MeasureGlyphText(LICE_GlyphProvider& glyphs, const LICE_GlyphLayout& layout,
                          const char* text, int length, int flags, LICE_Rect* rect);

// Draws text with the first pen position at (x, y), clipped to clip. Gives the
// lowest bottom edge of the glyphs drawn minus y (for vertical text the rightmost
// right edge minus x), 0 when none was drawn.
int LICE_DrawGlyphText(LICE_GlyphProvider& glyphs, const LICE_GlyphLayout& layout,
                       LICE_IBitmap* dest, const char* text, int length, int flags, int x, int y,
                       const LICE_Rect& clip);
