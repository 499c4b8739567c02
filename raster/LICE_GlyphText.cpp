#include "raster/LICE_GlyphText.h"

#include "raster/LICE_Font.h"
#include "raster/LICE_Utf8.h"

#include <algorithm>

namespace {

// Calls glyph(record, c) for every drawable character and newLine() at each line
// break, in text order.
template <typename OnGlyph, typename OnNewLine>
void WalkText(LICE_GlyphProvider& glyphs, const char* text, int length, int flags,
              OnGlyph glyph, OnNewLine newLine)
{
  if (!text) return;
  int used = 0;
  while (length < 0 || used < length) {
    if (text[used] == 0) break;
    int c = 0;
    used += LICE_Utf8NextGlyphChar(text + used, length < 0 ? -1 : length - used, &c);
    if (c == '\r') continue;
    if (c == '\n') {
      if (!(flags & LICE_DT_SINGLELINE)) {
        newLine();
        continue;
      }
      c = ' ';
    }
    const GlyphRecord* record = glyphs.RenderedGlyph(c);
    if (record && record->coverageOffset > 0) glyph(*record, c);
  }
}

}  // namespace

int LICE_MeasureGlyphText(LICE_GlyphProvider& glyphs, const LICE_GlyphLayout& layout,
                          const char* text, int length, int flags, LICE_Rect* rect)
{
  const bool vertical = (layout.fontFlags & FontVertical) != 0;
  const int lineStep = layout.lineHeight + layout.lineSpacing;
  int pen = 0;   // along the line
  int line = 0;  // across the lines
  int extentX = 0;
  int extentY = 0;
  WalkText(
      glyphs, text, length, flags,
      [&](const GlyphRecord& g, int) {
        if (vertical) {
          extentY = std::max({extentY, pen + g.advance, pen + g.height - g.leftOffset});
          extentX = std::max(extentX, line + g.width);
        } else {
          extentX = std::max({extentX, pen + g.advance, pen + g.width - g.leftOffset});
          extentY = std::max(extentY, line + g.height);
        }
        pen += g.advance;
      },
      [&] {
        pen = 0;
        line += lineStep;
      });
  if (rect) {
    rect->right = rect->left + extentX;
    rect->bottom = rect->top + extentY;
  }
  return vertical ? extentX : extentY;
}

int LICE_DrawGlyphText(LICE_GlyphProvider& glyphs, const LICE_GlyphLayout& layout,
                       LICE_IBitmap* dest, const char* text, int length, int flags, int x, int y,
                       const LICE_Rect& clip)
{
  const bool vertical = (layout.fontFlags & FontVertical) != 0;
  const bool upward = vertical && (layout.fontFlags & FontBottomUp);
  const int lineStep = layout.lineHeight + layout.lineSpacing;
  int penX = x;
  int penY = y;
  bool drewAny = false;
  int farEdge = 0;  // lowest bottom edge, or rightmost right edge for vertical text
  WalkText(
      glyphs, text, length, flags,
      [&](const GlyphRecord& g, int c) {
        if (upward) penY -= g.height;
        const bool drawn = glyphs.DrawCachedGlyph(dest, c, penX, penY, &clip);
        if (drawn) {
          const int edge = vertical ? penX + g.width : penY + g.height;
          farEdge = drewAny ? std::max(farEdge, edge) : edge;
          drewAny = true;
        }
        if (upward) {
          penY += g.height - g.advance;
        } else if (vertical) {
          penY += g.advance;
        } else {
          penX += g.advance;
        }
      },
      [&] {
        if (vertical) {
          penY = y;
          penX += lineStep;
        } else {
          penX = x;
          penY += lineStep;
        }
      });
  if (!drewAny) return 0;
  return vertical ? farEdge - x : farEdge - y;
}
