#include "graphics/IGraphicsWindowless.h"

#include "raster/LICE_PNG.h"

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

LICE_IBitmap* IGraphicsWindowless::LoadResourceImage(int, const char* name)
{
  if (!name || !*name) return nullptr;
  const std::string path = mImageFolder.empty() ? name : mImageFolder + "/" + name;
  return LICE_ReadPNGByName(path.c_str(), true);
}
