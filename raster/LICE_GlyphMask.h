#pragma once
// Turning a glyph that GDI drew white on black into the 8-bit coverage mask the
// glyph cache keeps.

#include "raster/LICE_GlyphCache.h"
#include "raster/LICE_IBitmap.h"

// Columns left free on both sides of a glyph when it is drawn for caching, so that
// ink spilling past its advance is kept: 2 below a line height of 16, else
// lineHeight / 16 + 2.
int LICE_GlyphMargin(int lineHeight);

// Softens the top-left width x height box of a surface in place: each channel
// becomes half itself plus shares of its neighbours (1/8 each of four, or 1/4 and
// two 1/8 at the edges). Boxes smaller than 2 x 2 stay as they are.
void LICE_SoftenBox(LICE_IBitmap* surface, int width, int height);

// Makes the mask of a glyph drawn into the top-left width x height box of
// surface, its pen at column `margin`, advancing by `advance`. Fills in the
// record: the mask keeps the red channel (inverted with FontInvert), cut down to
// the inked columns of the left margin and at least the advance plus the margin
// on the right; then FontVertical, FontMono, FontShadow and FontOutline apply and
// FontBlur softens the box first. A record whose mask cannot be stored renders to
// nothing (offset -1, no size).
void LICE_BuildGlyphMask(LICE_GlyphCache& cache, GlyphRecord* record, LICE_IBitmap* surface,
                         int width, int height, int advance, int margin, int fontFlags);
