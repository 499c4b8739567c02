#include "raster/LICE_ImageLoaders.h"

#include "raster/LICE_PNG.h"

namespace {

const char* PngFilterText() { return "PNG files (*.PNG)\0*.PNG\0"; }

ImageLoaderEntry pngLoader = {LICE_ReadPNGByName, PngFilterText, nullptr};

}  // namespace

// Constant-initialised, so the PNG entry is in place before any dynamic
// initialiser of the module could look.
ImageLoaderEntry* ImageLoaderList = &pngLoader;

void LICE_AddImageLoader(ImageLoaderEntry* entry)
{
  if (!entry) return;
  entry->next = ImageLoaderList;
  ImageLoaderList = entry;
}
