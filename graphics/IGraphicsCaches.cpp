// The module-wide caches of decoded pictures and fonts, shared by every editor
// of the module and emptied when the module unloads.
#include "graphics/IGraphics.h"

#include "framework/FixedText.h"
#include "graphics/IScaledPicture.h"
#include "raster/LICE_PNGRows.h"

#include "raster/LICE_Font.h"
#include "raster/LICE_IBitmap.h"
#include "raster/LICE_SystemFont.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>

namespace
{
struct CachedImage
{
  int id;
  LICE_IBitmap* image;
  std::string name;  // where its double-size version is found
};

// A double-size picture decoded only as far as its frames were wanted.
struct CachedRows
{
  int id;
  std::unique_ptr<LICE_PNGRows> rows;
};

// A picture at a factor other than 1, in quarter steps.
struct CachedScaled
{
  int id;
  int quarters;
  std::unique_ptr<IScaledPicture> picture;
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
  std::vector<CachedScaled> scaled;
  std::vector<CachedRows> rows;
  std::mutex fontLock;
  std::vector<CachedFont> fonts;

  ~ModuleCaches() { Release(); }

  void Release()
  {
    {
      std::lock_guard<std::mutex> lock(imageLock);
      scaled.clear();  // they draw from the images and the rows
      scaled.shrink_to_fit();
      rows.clear();
      rows.shrink_to_fit();
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
LICE_IBitmap* KeepImage(int id, LICE_IBitmap* image, const char* name)
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
  gCaches.images.push_back({id, image, name ? name : ""});
  return image;
}

std::string NameOf(int id)
{
  std::lock_guard<std::mutex> lock(gCaches.imageLock);
  for (const CachedImage& entry : gCaches.images)
    if (entry.id == id) return entry.name;
  return std::string();
}

LICE_PNGRows* FindRows(int id)
{
  std::lock_guard<std::mutex> lock(gCaches.imageLock);
  for (const CachedRows& entry : gCaches.rows)
    if (entry.id == id) return entry.rows.get();
  return nullptr;
}

LICE_PNGRows* KeepRows(int id, std::unique_ptr<LICE_PNGRows> rows)
{
  std::lock_guard<std::mutex> lock(gCaches.imageLock);
  for (const CachedRows& entry : gCaches.rows)
    if (entry.id == id) return entry.rows.get();
  gCaches.rows.push_back({id, std::move(rows)});
  return gCaches.rows.back().rows.get();
}

IScaledPicture* FindScaled(int id, int quarters)
{
  std::lock_guard<std::mutex> lock(gCaches.imageLock);
  for (const CachedScaled& entry : gCaches.scaled)
    if (entry.id == id && entry.quarters == quarters) return entry.picture.get();
  return nullptr;
}

IScaledPicture* KeepScaled(int id, int quarters, std::unique_ptr<IScaledPicture> picture)
{
  std::lock_guard<std::mutex> lock(gCaches.imageLock);
  for (const CachedScaled& entry : gCaches.scaled)
    if (entry.id == id && entry.quarters == quarters) return entry.picture.get();
  gCaches.scaled.push_back({id, quarters, std::move(picture)});
  return gCaches.scaled.back().picture.get();
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
    if (image) image = KeepImage(id, image, name);
  }
  IBitmapRef ref;
  ref.N = frames > 0 ? frames : 1;
  if (image)
  {
    ref.bitmap = image;
    ref.W = image->Width();
    ref.H = image->Height();
    ref.id = id;
  }
  return ref;
}

std::unique_ptr<LICE_PNGRows> IGraphics::OpenResourceRows(int, const char*)
{
  return nullptr;
}

IScaledPicture* IGraphics::PictureAtScale(const IBitmapRef& ref)
{
  if (ref.id < 0 || !ref.bitmap) return nullptr;
  const int quarters = static_cast<int>(std::lround(mScale * 4));
  if (IScaledPicture* picture = FindScaled(ref.id, quarters)) return picture;

  // The double-size version is read only when a factor other than 1 first
  // needs it, and decoded only as far as the frames drawn; where it cannot
  // be read that way it is decoded whole. One of the wrong size is not it.
  const int twiceId = ref.id + kDoubleSizeIdOffset;
  const int frameWidth = ScaleLength(ref.FrameWidth(), mScale);
  const int frameHeight = ScaleLength(ref.FrameHeight(), mScale);
  const std::string twiceName = DoubleSizeName(NameOf(ref.id).c_str());
  LICE_PNGRows* rows = FindRows(twiceId);
  if (!rows && !FindImage(twiceId))
  {
    if (std::unique_ptr<LICE_PNGRows> opened = OpenResourceRows(twiceId, twiceName.c_str()))
      rows = KeepRows(twiceId, std::move(opened));
  }
  std::unique_ptr<IScaledPicture> picture;
  if (rows && rows->Width() == 2 * ref.W && rows->Height() == 2 * ref.H)
  {
    picture = std::make_unique<IScaledPicture>(rows, ref.bitmap, ref.N, ref.framesAreHorizontal,
                                               frameWidth, frameHeight);
  }
  else
  {
    LICE_IBitmap* source = rows ? nullptr : FindImage(twiceId);
    if (!source && !rows)
    {
      if (LICE_IBitmap* decoded = LoadResourceImage(twiceId, twiceName.c_str()))
        source = KeepImage(twiceId, decoded, twiceName.c_str());
    }
    if (!source || source->Width() != 2 * ref.W || source->Height() != 2 * ref.H)
      source = ref.bitmap;
    picture = std::make_unique<IScaledPicture>(source, ref.N, ref.framesAreHorizontal, frameWidth,
                                               frameHeight);
  }
  return KeepScaled(ref.id, quarters, std::move(picture));
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
