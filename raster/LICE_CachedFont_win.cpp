#include "raster/LICE_Font.h"

#include "raster/LICE_GdiText_win.h"
#include "raster/LICE_GlyphDraw.h"
#include "raster/LICE_GlyphMask.h"
#include "raster/LICE_GlyphText.h"
#include "raster/LICE_SysBitmap.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <utility>

static_assert(LICE_DT_CENTER == DT_CENTER && LICE_DT_RIGHT == DT_RIGHT &&
                  LICE_DT_VCENTER == DT_VCENTER && LICE_DT_BOTTOM == DT_BOTTOM &&
                  LICE_DT_SINGLELINE == DT_SINGLELINE && LICE_DT_NOCLIP == DT_NOCLIP &&
                  LICE_DT_CALCRECT == DT_CALCRECT,
              "text flags are GDI's DrawText flags");
static_assert(sizeof(RECT) == sizeof(LICE_Rect), "rectangles convert field by field");

namespace {

// Shared by all fonts, used on the user-interface thread only.
LICE_SysBitmap* glyphScratch = nullptr;  // GDI draws single glyphs here
LICE_SysBitmap* textScratch = nullptr;   // native text for bitmaps without a device context
int fontCount = 0;
int wineAnswer = -1;  // -1 not asked yet, 0 no, 1 yes

// Queries a bitmap may answer to ask for the glyph way.
constexpr int kGlyphWayQuery = 0x59555678;

bool UnderWine()
{
  if (wineAnswer < 0) {
    HKEY key = nullptr;
    wineAnswer = RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Wine", &key) == ERROR_SUCCESS ? 1 : 0;
    if (wineAnswer) RegCloseKey(key);
  }
  return wineAnswer == 1;
}

COLORREF ToColorRef(LICE_Color32 c) { return RGB(LICE_GETR(c), LICE_GETG(c), LICE_GETB(c)); }

RECT ToRect(const LICE_Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

LICE_Rect FromRect(const RECT& r) { return LICE_Rect{r.left, r.top, r.right, r.bottom}; }

// GDI draws glyphs white on black, so the red channel is the coverage.
void PrepareGlyphScratch(HDC dc)
{
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(0, 0, 0));
}

// Makes the glyph scratch surface at least size x size; false when it cannot be had.
bool EnsureGlyphScratch(int size)
{
  if (!glyphScratch) glyphScratch = new (std::nothrow) LICE_SysBitmap();
  if (!glyphScratch || !glyphScratch->DeviceContext()) return false;
  if (glyphScratch->Width() < size || glyphScratch->Height() < size) {
    glyphScratch->Resize(size, size);
    if (glyphScratch->Width() != size || !glyphScratch->Pixels()) return false;
    PrepareGlyphScratch(glyphScratch->DeviceContext());
  }
  return true;
}

// The font as the glyph walk sees it.
class CachedFontGlyphs : public LICE_GlyphProvider {
 public:
  explicit CachedFontGlyphs(LICE_CachedFont& font) : font_(font) {}
  const GlyphRecord* RenderedGlyph(int c) override { return font_.RenderedGlyph(c); }
  bool DrawCachedGlyph(LICE_IBitmap* dest, int c, int x, int y, const LICE_Rect* clip) override
  {
    return font_.DrawCachedGlyph(dest, c, x, y, clip);
  }

 private:
  LICE_CachedFont& font_;
};

}  // namespace

void LICE_SetWineAnswer(int answer) { wineAnswer = answer < 0 ? -1 : (answer ? 1 : 0); }

LICE_CachedFont::LICE_CachedFont() { ++fontCount; }

LICE_CachedFont::~LICE_CachedFont()
{
  if ((m_flags & FontOwnsHandle) && m_font) DeleteObject(m_font);
  if (--fontCount == 0) {
    delete glyphScratch;
    glyphScratch = nullptr;
    delete textScratch;
    textScratch = nullptr;
  }
}

void LICE_CachedFont::AttachFont(LICE_HFONT font, int flags)
{
  if ((m_flags & FontOwnsHandle) && m_font && m_font != font) DeleteObject(m_font);
  m_flags = flags;
  m_font = font;

  if (m_font && EnsureGlyphScratch(256)) {
    HDC dc = glyphScratch->DeviceContext();
    HGDIOBJ previous = SelectObject(dc, m_font);
    TEXTMETRICA metrics;
    if (GetTextMetricsA(dc, &metrics)) m_lineHeight = metrics.tmHeight;
    SelectObject(dc, previous);
  }

  m_glyphs.Clear();
  if (m_flags & FontCacheASCIIOnly) {
    for (int c = 0; c < 128; ++c) RenderedGlyph(c);
  }
}

LICE_Color32 LICE_CachedFont::SetForeground(LICE_Color32 colour)
{
  std::swap(m_textColour, colour);
  return colour;
}

LICE_Color32 LICE_CachedFont::SetBackground(LICE_Color32 colour)
{
  std::swap(m_backgroundColour, colour);
  return colour;
}

LICE_Color32 LICE_CachedFont::SetEffectColor(LICE_Color32 colour)
{
  std::swap(m_effectColour, colour);
  return colour;
}

int LICE_CachedFont::SetBackgroundMode(int mode)
{
  std::swap(m_backgroundMode, mode);
  return mode;
}

void LICE_CachedFont::SetCompositing(int mode, float weight)
{
  m_compositeMode = mode;
  m_weight = weight;
}

int LICE_CachedFont::SetLineSpacing(int spacing)
{
  std::swap(m_lineSpacing, spacing);
  return spacing;
}

const GlyphRecord* LICE_CachedFont::RenderedGlyph(int c)
{
  GlyphRecord* record = m_glyphs.Find(c);
  if (record && record->coverageOffset != 0) return record;
  if (m_lineHeight >= 1024) return nullptr;
  if (!record) {
    if (m_flags & FontCacheASCIIOnly) return nullptr;
    record = m_glyphs.FindOrAdd(c);
    if (!record) return nullptr;
  }
  return RenderGlyph(record, c) ? record : nullptr;
}

// GDI draws the character alone, white on black, with a margin on both sides for
// ink that spills past its advance; the mask is made from that.
bool LICE_CachedFont::RenderGlyph(GlyphRecord* record, int c)
{
  if (!EnsureGlyphScratch(std::max(m_lineHeight, 1) * 2 + 8)) return false;
  HDC dc = glyphScratch->DeviceContext();
  HGDIOBJ previous = SelectObject(dc, m_font);
  const int margin = LICE_GlyphMargin(m_lineHeight);
  const wchar_t character = wchar_t(c);

  RECT measured = {0, 0, 0, 0};
  DrawTextW(dc, &character, 1, &measured, DT_NOPREFIX | DT_CALCRECT | DT_SINGLELINE);
  const int w = measured.right - measured.left;
  const int hh = measured.bottom - measured.top;

  GdiFlush();
  LICE_FillArea(glyphScratch, 0, 0, w + 2 * margin, hh, 0, 1.0f, CompositeCopy);
  RECT box = {margin, 0, margin + w, hh};
  DrawTextW(dc, &character, 1, &box, DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
  GdiFlush();

  const int advance = std::min(w, glyphScratch->Width());
  const int boxWidth = std::min(w + 2 * margin, glyphScratch->Width());
  const int boxHeight = std::min(hh, glyphScratch->Height());
  SelectObject(dc, previous);

  record->character = c;
  if (advance < 1 || boxHeight < 1) {
    record->coverageOffset = -1;
    record->width = 0;
    record->height = 0;
    record->advance = 0;
    record->leftOffset = 0;
    return true;
  }
  LICE_BuildGlyphMask(m_glyphs, record, glyphScratch, boxWidth, boxHeight, advance, margin,
                      m_flags);
  return true;
}

bool LICE_CachedFont::DrawCachedGlyph(LICE_IBitmap* dest, int c, int x, int y,
                                      const LICE_Rect* clip)
{
  if (!dest) return false;
  const GlyphRecord* glyph = m_glyphs.Find(c);
  if (!glyph) return false;
  const LICE_Rect whole = {0, 0, dest->Width(), dest->Height()};
  const LICE_GlyphPaint paint = {m_textColour,     m_backgroundColour, m_effectColour,
                                 m_backgroundMode, m_compositeMode,    m_weight,
                                 m_flags};
  return LICE_DrawGlyphMask(dest, *glyph, m_glyphs.Mask(*glyph), x, y, clip ? *clip : whole,
                            paint);
}

int LICE_CachedFont::RenderText(LICE_IBitmap* dest, const char* text, int length,
                                LICE_Rect* rect, int flags)
{
  if (!rect || !text) return 0;
  if (!dest && !(flags & LICE_DT_CALCRECT)) return 0;
  const bool noNative = (flags & TextNoNative) != 0;
  flags &= ~TextNoNative;
  if (TakesNativeWay(dest, flags, noNative)) return RenderNative(dest, text, length, rect, flags);
  return RenderGlyphs(dest, text, length, rect, flags, noNative);
}

bool LICE_CachedFont::TakesNativeWay(LICE_IBitmap* dest, int flags, bool noNative) const
{
  if (dest && dest->Extension(kGlyphWayQuery, nullptr) != 0) return false;
  if (m_lineHeight >= 256) return true;
  // Wine's GDI text differs from Windows'; there the glyph way gives the same
  // look as everywhere else. Asked last, so only when it decides.
  return (m_flags & FontForceNative) && m_font && !noNative &&
         !(flags & TextUseForegroundAlpha) && !(m_flags & FontGlyphEffects) &&
         (m_lineSpacing == 0 || (flags & LICE_DT_SINGLELINE)) && !UnderWine();
}

int LICE_CachedFont::RenderNative(LICE_IBitmap* dest, const char* text, int length,
                                  LICE_Rect* rect, int flags)
{
  const LICE_GdiText gdiText(text, length);
  // Bits of our own mean nothing to GDI.
  const int gdiFlags = (flags & ~TextUseForegroundAlpha) | DT_NOPREFIX;
  auto prepare = [this](HDC dc) {
    SetTextColor(dc, ToColorRef(m_textColour));
    SetBkMode(dc, m_backgroundMode);
    if (m_backgroundMode == OPAQUE) SetBkColor(dc, ToColorRef(m_backgroundColour));
  };

  if (HDC dc = dest ? dest->DeviceContext() : nullptr) {
    HGDIOBJ previous = SelectObject(dc, m_font);
    prepare(dc);
    RECT r = ToRect(*rect);
    GdiFlush();
    const int result = gdiText.Draw(dc, &r, gdiFlags);
    GdiFlush();
    if (flags & LICE_DT_CALCRECT) *rect = FromRect(r);
    SelectObject(dc, previous);
    return result;
  }

  // No device context: measure on the text scratch surface, draw the text there
  // over a copy of the destination box, and copy the box back.
  if (!textScratch) textScratch = new (std::nothrow) LICE_SysBitmap(4, 4);
  HDC dc = textScratch ? textScratch->DeviceContext() : nullptr;
  if (!dc) return 0;
  HGDIOBJ previous = SelectObject(dc, m_font);
  RECT measured = ToRect(*rect);
  int result = gdiText.Draw(dc, &measured, (gdiFlags & ~LICE_DT_ALIGNMENT) | DT_CALCRECT);
  if (flags & LICE_DT_CALCRECT) {
    *rect = FromRect(measured);
    SelectObject(dc, previous);
    return result;
  }

  const int width = measured.right - measured.left;
  const int height = measured.bottom - measured.top;
  int x = rect->left;
  if (flags & LICE_DT_RIGHT) {
    x = rect->right - width;
  } else if (flags & LICE_DT_CENTER) {
    x = (rect->right + rect->left - width) / 2;
  }
  int y = rect->top;
  if (flags & LICE_DT_BOTTOM) {
    y = rect->bottom - height;
  } else if (flags & LICE_DT_VCENTER) {
    y = (rect->bottom + rect->top - height) / 2;
  }

  LICE_Rect box = {std::max(x, 0), std::max(y, 0), std::min(x + width, dest->Width()),
                   std::min(y + height, dest->Height())};
  if (!(flags & LICE_DT_NOCLIP)) {
    box = {std::max(box.left, rect->left), std::max(box.top, rect->top),
           std::min(box.right, rect->right), std::min(box.bottom, rect->bottom)};
  }
  if (box.right <= box.left || box.bottom <= box.top) {
    SelectObject(dc, previous);
    return 0;
  }
  // Room on the left for overhanging ink.
  box.left -= std::min(box.left, LICE_GlyphMargin(m_lineHeight));
  const int boxWidth = box.right - box.left;
  const int boxHeight = box.bottom - box.top;
  if (textScratch->Width() < boxWidth || textScratch->Height() < boxHeight) {
    textScratch->Resize(std::max(textScratch->Width(), boxWidth),
                        std::max(textScratch->Height(), boxHeight));
    dc = textScratch->DeviceContext();
    if (textScratch->Width() < boxWidth || textScratch->Height() < boxHeight) {
      SelectObject(dc, previous);
      return 0;
    }
  }

  GdiFlush();
  LICE_Composite(textScratch, dest, 0, 0, &box, 1.0f, CompositeCopy);
  prepare(dc);
  RECT at = {x - box.left, y - box.top, x - box.left + width, y - box.top + height};
  result = gdiText.Draw(dc, &at, gdiFlags);
  GdiFlush();
  const LICE_Rect scratchBox = {0, 0, boxWidth, boxHeight};
  LICE_Composite(dest, textScratch, box.left, box.top, &scratchBox, m_weight, CompositeCopy);
  SelectObject(dc, previous);
  return result;
}

int LICE_CachedFont::RenderGlyphs(LICE_IBitmap* dest, const char* text, int length,
                                  LICE_Rect* rect, int flags, bool noNative)
{
  CachedFontGlyphs glyphs(*this);
  const LICE_GlyphLayout layout = {m_lineHeight, m_lineSpacing, m_flags};
  if (flags & LICE_DT_CALCRECT) {
    return LICE_MeasureGlyphText(glyphs, layout, text, length, flags, rect);
  }

  const float fontWeight = m_weight;
  if (flags & TextUseForegroundAlpha) {
    m_weight = fontWeight * (float(LICE_GETA(m_textColour)) / 255.0f);
  }
  int result = 0;
  if (m_weight != 0.0f) {
    int x = rect->left;
    int y = rect->top;
    const bool upward = (m_flags & FontVertical) && (m_flags & FontBottomUp);
    if ((flags & LICE_DT_ALIGNMENT) || upward) {
      // Measured by whichever way that call chooses.
      LICE_Rect size = *rect;
      RenderText(dest, text, length, &size,
                 LICE_DT_CALCRECT | (flags & LICE_DT_SINGLELINE) | (noNative ? TextNoNative : 0));
      const int width = size.right - size.left;
      const int height = size.bottom - size.top;
      if (flags & LICE_DT_CENTER) x += (rect->right - width - rect->left) / 2;
      if (flags & LICE_DT_RIGHT) x = rect->right - width;
      if (flags & LICE_DT_VCENTER) y += (rect->bottom - height - rect->top) / 2;
      if (flags & LICE_DT_BOTTOM) y = rect->bottom - height;
      if (upward) y += height;
    }

    LICE_Rect clip = {0, 0, dest->Width(), dest->Height()};
    if (!(flags & LICE_DT_NOCLIP)) {
      clip = {std::max(rect->left, 0), std::max(rect->top, 0), std::min(rect->right, clip.right),
              std::min(rect->bottom, clip.bottom)};
    }
    if (clip.right > clip.left && clip.bottom > clip.top) {
      result = LICE_DrawGlyphText(glyphs, layout, dest, text, length, flags, x, y, clip);
    }
  }
  m_weight = fontWeight;
  return result;
}
