// Text in the editor: drawn or measured with the style's font.
#include "graphics/IGraphics.h"

#include "raster/LICE_Font.h"
#include "raster/LICE_SysBitmap.h"

bool IGraphics::MeasureText(ITextStyle& style, const char* text, IBox& box)
{
  return DrawStyledText(style, text, box, true);
}

bool IGraphics::DrawStyledText(ITextStyle& style, const char* text, IBox& box, bool measure)
{
  if (!text || !*text) return true;
  LICE_IFont* font = style.cachedFont ? style.cachedFont : FindOrCreateFont(style);
  if (!font) return false;

  font->SetForeground(style.colour.ToColor32());
  int flags = LICE_DT_NOCLIP;
  if (style.align == ITextStyle::kAlignCenter) flags |= LICE_DT_CENTER;
  if (style.align == ITextStyle::kAlignFar) flags |= LICE_DT_RIGHT;
  if (style.colour.alpha != 255) flags |= TextUseForegroundAlpha;

  if (!measure)
  {
    LICE_Rect r = {box.left, box.top, box.right, box.bottom};
    font->RenderText(mDrawBitmap.get(), text, -1, &r, flags);
    return true;
  }

  LICE_Rect r = {0, 0, 0, 0};
  font->RenderText(mDrawBitmap.get(), text, -1, &r, flags | LICE_DT_CALCRECT);
  const int w = r.right;
  const int h = r.bottom;
  switch (style.align)
  {
    case ITextStyle::kAlignNear: box.right = box.left + w; break;
    case ITextStyle::kAlignCenter:
      box.left = static_cast<int>(0.5 * (box.left + box.right)) - w / 2;
      box.right = box.left + w;
      break;
    case ITextStyle::kAlignFar: box.left = box.right - w; break;
    default: break;
  }
  box.bottom = box.top + h;
  return true;
}
