// The module-wide caches of decoded pictures and fonts, shared by every editor
// of the module and emptied when the module unloads.
#include "graphics/IGraphics.h"

#include "framework/FixedText.h"

#include "raster/LICE_Font.h"
#include "raster/LICE_IBitmap.h"
#include "raster/LICE_SystemFont.h"

#include <cstring>
#include <mutex>

namespace
{
struct CachedImage
{
  int id;
  LICE_IBitmap* image;
};

struct CachedFont
{
  int size;
  int orientation;
  int style;
  char face[ITextStyle::kFaceSize];
  LICE_IFont* font;
};

// Each lock is held only while searching or appending, never while decoding
// a picture or making a font.
struct ModuleCaches
{
  std::mutex imageLock;
  std::vector<CachedImage> images;
  std::mutex fontLock;
  std::vector<CachedFont> fonts;

  ~ModuleCaches() { Release(); }

  void Release()
  {
    {
      std::lock_guard<std::mutex> lock(imageLock);
      for (const CachedImage& entry : images) delete entry.image;
      images.clear();
      images.shrink_to_fit();
    }
    std::lock_guard<std::mutex> lock(fontLock);
    for (const CachedFont& entry : fonts) delete entry.font;
    fonts.clear();
    fonts.shrink_to_fit();
  }
};

// Destroyed with the module's other statics, that is when the module unloads.
ModuleCaches gCaches;

LICE_IBitmap* FindImage(int id)
{
  std::lock_guard<std::mutex> lock(gCaches.imageLock);
  for (const CachedImage& entry : gCaches.images)
  {
    if (entry.id == id && entry.image) return entry.image;
  }
  return nullptr;
}

// Keeps a freshly decoded picture, unless another editor cached the same one
// meanwhile: then that one is used and the fresh one dropped.
LICE_IBitmap* KeepImage(int id, LICE_IBitmap* image)
{
  std::lock_guard<std::mutex> lock(gCaches.imageLock);
  for (const CachedImage& entry : gCaches.images)
  {
    if (entry.id == id && entry.image)
    {
      delete image;
      return entry.image;
    }
  }
  gCaches.images.push_back({id, image});
  return image;
}

bool SameKey(const CachedFont& entry, const ITextStyle& style)
{
  return entry.size == style.size && entry.orientation == style.orientation &&
         entry.style == style.style && std::strncmp(entry.face, style.face, sizeof entry.face) == 0;
}

LICE_FontSpec SpecFor(const ITextStyle& style)
{
  static const int kQualities[] = {0, 3, 4, 5};  // default, non-antialiased, antialiased, ClearType
  LICE_FontSpec spec;
  spec.height = style.size;
  spec.escapement = style.orientation * 10;
  spec.weight = style.style == ITextStyle::kStyleBold ? 700 : 400;
  spec.italic = style.style == ITextStyle::kStyleItalic;
  spec.quality = style.quality >= 0 && style.quality <= 3 ? kQualities[style.quality] : 0;
  spec.face = style.face;
  return spec;
}
}  // namespace

IBitmapRef IGraphics::LoadEditorImage(int id, const char* name, int frames)
{
  LICE_IBitmap* image = FindImage(id);
  if (!image)
  {
    image = LoadResourceImage(id, name);
    if (image) image = KeepImage(id, image);
  }
  IBitmapRef ref;
  ref.N = frames > 0 ? frames : 1;
  if (image)
  {
    ref.bitmap = image;
    ref.W = image->Width();
    ref.H = image->Height();
  }
  return ref;
}

LICE_IFont* IGraphics::FindOrCreateFont(ITextStyle& style)
{
  {
    std::lock_guard<std::mutex> lock(gCaches.fontLock);
    for (const CachedFont& entry : gCaches.fonts)
    {
      if (SameKey(entry, style)) return style.cachedFont = entry.font;
    }
  }
  // Colour, alignment and quality are not part of the key: the first style to
  // make a font decides its quality.
  LICE_IFont* font = LICE_CreateSystemFont(SpecFor(style));
  if (!font) return nullptr;

  CachedFont entry{style.size, style.orientation, style.style, {}, font};
  CopyFixedText(entry.face, style.face);
  std::lock_guard<std::mutex> lock(gCaches.fontLock);
  gCaches.fonts.push_back(entry);
  return style.cachedFont = font;
}

void IGraphics::ReleaseModuleCaches()
{
  gCaches.Release();
}

int IGraphics::NCachedImages()
{
  std::lock_guard<std::mutex> lock(gCaches.imageLock);
  return static_cast<int>(gCaches.images.size());
}

int IGraphics::NCachedFonts()
{
  std::lock_guard<std::mutex> lock(gCaches.fontLock);
  return static_cast<int>(gCaches.fonts.size());
}
