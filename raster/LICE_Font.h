#pragma once
// Text on raster bitmaps.
//
// LICE_IFont is the abstract font. LICE_CachedFont (Windows) implements it over a
// GDI font and has two ways to put text on a bitmap: the native way, where GDI's
// DrawText writes straight into the bitmap's device context, and the glyph way,
// where each character is rendered once by GDI into a scratch surface, kept as an
// 8-bit coverage mask, and composited by our own code with the font's colour,
// weight and composite mode. Text is UTF-8 throughout.

#include "raster/LICE_Composite.h"
#include "raster/LICE_GlyphCache.h"
#include "raster/LICE_IBitmap.h"

#include <climits>

// GDI font handle as an opaque type; on Windows (STRICT handles) this is HFONT.
struct HFONT__;
typedef HFONT__* LICE_HFONT;

// Font flags.
enum {
  FontVertical = 0x1,        // masks turned a quarter turn, text runs downward
  FontBottomUp = 0x2,        // with FontVertical: the other turn, text runs upward
  FontCacheASCIIOnly = 0x4,  // render 0-127 on attaching; never cache 128 and above
  FontBlur = 0x10,           // soften each mask
  FontInvert = 0x20,         // mask = 255 - coverage
  FontMono = 0x40,           // mask thresholded, drawn in one colour
  FontShadow = 0x80,         // thresholded, plus a shadow toward lower right in the effect colour
  FontOutline = 0x100,       // thresholded, plus a one-pixel outline in the effect colour
  FontOwnsHandle = 0x200,    // delete the GDI font when replaced or destroyed
  FontForceNative = 0x400    // prefer the native way
};

// The flags that make glyph masks differ from plain coverage; any of them keeps
// text off the native way.
constexpr int FontGlyphEffects = 0x1F7;

// Text flags are the Win32 DrawText flags; these are the ones the glyph way reads.
enum {
  LICE_DT_CENTER = 0x1,
  LICE_DT_RIGHT = 0x2,
  LICE_DT_VCENTER = 0x4,
  LICE_DT_BOTTOM = 0x8,
  LICE_DT_SINGLELINE = 0x20,
  LICE_DT_NOCLIP = 0x100,
  LICE_DT_CALCRECT = 0x400,
  LICE_DT_ALIGNMENT = 0xF
};

// Text flags of our own. TextUseForegroundAlpha multiplies the weight by the text
// colour's alpha (and so avoids the native way); TextNoNative never takes the
// native way and is removed before the flags reach GDI.
constexpr int TextUseForegroundAlpha = 0x40000000;
constexpr int TextNoNative = INT_MIN;  // bit 31

class LICE_IFont {
 public:
  virtual ~LICE_IFont() = default;

  virtual void AttachFont(LICE_HFONT font, int flags) = 0;
  // Setters give the previous value.
  virtual LICE_Color32 SetForeground(LICE_Color32 colour) = 0;
  virtual LICE_Color32 SetBackground(LICE_Color32 colour) = 0;
  virtual LICE_Color32 SetEffectColor(LICE_Color32 colour) = 0;
  // GDI background mode: 1 transparent, 2 opaque.
  virtual int SetBackgroundMode(int mode) = 0;
  // Composite mode and weight of the glyph way.
  virtual void SetCompositing(int mode, float weight) = 0;
  // Draws UTF-8 text (length -1: up to the terminating zero) inside rect and
  // gives the height of the text drawn. With LICE_DT_CALCRECT it measures
  // instead: rect's right and bottom become left + width and top + height and
  // the destination may be null. A null destination when drawing gives 0.
  virtual int RenderText(LICE_IBitmap* dest, const char* text, int length, LICE_Rect* rect,
                         int flags) = 0;
  virtual LICE_Color32 Foreground() const = 0;
  virtual LICE_HFONT NativeFont() const = 0;
  virtual int LineHeight() const = 0;

 protected:
  LICE_IFont() = default;
  LICE_IFont(const LICE_IFont&) = default;
  LICE_IFont& operator=(const LICE_IFont&) = default;
};

// Windows only: GDI does the rendering.
class LICE_CachedFont : public LICE_IFont {
 public:
  LICE_CachedFont();
  ~LICE_CachedFont() override;
  LICE_CachedFont(const LICE_CachedFont&) = delete;
  LICE_CachedFont& operator=(const LICE_CachedFont&) = delete;

  // Takes the font (deleting a previously owned different one), reads its line
  // height and empties the glyph cache.
  void AttachFont(LICE_HFONT font, int flags) override;
  LICE_Color32 SetForeground(LICE_Color32 colour) override;
  LICE_Color32 SetBackground(LICE_Color32 colour) override;
  LICE_Color32 SetEffectColor(LICE_Color32 colour) override;
  int SetBackgroundMode(int mode) override;
  void SetCompositing(int mode, float weight) override;
  int RenderText(LICE_IBitmap* dest, const char* text, int length, LICE_Rect* rect,
                 int flags) override;
  LICE_Color32 Foreground() const override { return m_textColour; }
  LICE_HFONT NativeFont() const override { return m_font; }
  int LineHeight() const override { return m_lineHeight; }

  // Draws the cached mask of c (nothing is rendered here) with the pen at (x, y),
  // clipped to clip (null: the whole destination). False when c has no cached
  // mask or nothing of it is visible.
  virtual bool DrawCachedGlyph(LICE_IBitmap* dest, int c, int x, int y, const LICE_Rect* clip);

  // Extra pixels between lines when text breaks to a new line.
  int SetLineSpacing(int spacing);
  // The cached record of c without rendering it, or null.
  const GlyphRecord* CachedGlyph(int c) const { return m_glyphs.Find(c); }
  // The record of c, rendering it first when it is not cached yet; null when c
  // cannot be cached (line height of 1024 or more, ASCII-only fonts, no memory).
  const GlyphRecord* RenderedGlyph(int c);

 private:
  bool TakesNativeWay(LICE_IBitmap* dest, int flags, bool noNative) const;
  int RenderNative(LICE_IBitmap* dest, const char* text, int length, LICE_Rect* rect, int flags);
  int RenderGlyphs(LICE_IBitmap* dest, const char* text, int length, LICE_Rect* rect, int flags,
                   bool noNative);
  bool RenderGlyph(GlyphRecord* record, int c);

  LICE_Color32 m_textColour = 0;
  LICE_Color32 m_backgroundColour = 0xFFFFFFFF;
  LICE_Color32 m_effectColour = 0xFFFFFFFF;
  int m_backgroundMode = 1;
  int m_compositeMode = CompositeCopy;
  float m_weight = 1.0f;
  int m_flags = 0;
  int m_lineHeight = 0;
  int m_lineSpacing = 0;
  LICE_GlyphCache m_glyphs;
  LICE_HFONT m_font = nullptr;
};

// Windows only. Whether the process runs under Wine is read from the registry
// once, when first needed; tests may give the answer instead: 0 no, 1 yes, -1 to
// forget it so that the registry is read again.
void LICE_SetWineAnswer(int answer);
