#include "raster/LICE_SystemFont.h"

#include "raster/LICE_Font.h"

#include <windows.h>

#include <new>

LICE_IFont* LICE_CreateSystemFont(const LICE_FontSpec& spec)
{
  HFONT font = CreateFontA(spec.height, 0, spec.escapement, spec.escapement, spec.weight,
                           spec.italic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DWORD(spec.quality),
                           DEFAULT_PITCH, spec.face ? spec.face : "");
  if (!font) return nullptr;
  LICE_CachedFont* cached = new (std::nothrow) LICE_CachedFont();
  if (!cached) {
    DeleteObject(font);
    return nullptr;
  }
  cached->AttachFont(font, FontOwnsHandle | FontForceNative);
  return cached;
}
