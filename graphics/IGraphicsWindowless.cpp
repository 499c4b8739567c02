#include "graphics/IGraphicsWindowless.h"

#include "raster/LICE_FileOpen.h"
#include "raster/LICE_PNG.h"
#include "raster/LICE_PNGRows.h"

#include <cstdio>
#include <vector>

IGraphicsWindowless::IGraphicsWindowless(IPlugBase* plug, int width, int height,
                                         std::string imageFolder, int fps)
  : IGraphics(plug, width, height, fps), mImageFolder(std::move(imageFolder))
{
}

bool IGraphicsWindowless::PresentRegion(const IBox& box)
{
  mLastPresented = box;
  ++mNPresented;
  return true;
}

std::string IGraphicsWindowless::PicturePath(const char* name) const
{
  return mImageFolder.empty() ? name : mImageFolder + "/" + name;
}

LICE_IBitmap* IGraphicsWindowless::LoadResourceImage(int, const char* name)
{
  if (!name || !*name) return nullptr;
  return LICE_ReadPNGByName(PicturePath(name).c_str(), true);
}

std::unique_ptr<LICE_PNGRows> IGraphicsWindowless::OpenResourceRows(int, const char* name)
{
  if (!name || !LICE_HasPNGExtension(name)) return nullptr;
  std::FILE* file = LICE_OpenFileForReading(PicturePath(name).c_str());
  if (!file) return nullptr;
  std::vector<unsigned char> bytes;
  unsigned char block[65536];
  for (std::size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;)
    bytes.insert(bytes.end(), block, block + n);
  std::fclose(file);
  return LICE_PNGRows::Open(std::move(bytes));
}
