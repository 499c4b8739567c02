#include "raster/LICE_PNGResource.h"

#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNG.h"
#include "raster/LICE_PNGRows.h"

#include <windows.h>

namespace {

// The resource's bytes where the module maps them, or null.
const void* FindPNGResource(LICE_HINSTANCE module, unsigned int id, const char* fileName, int& size)
{
  if (!LICE_IsPNGResourceName(fileName)) return nullptr;
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id & 0xFFFF), "PNG");
  if (!resource) return nullptr;
  const DWORD bytes = SizeofResource(module, resource);
  if (bytes < 8 || bytes > 0x7FFFFFFF) return nullptr;
  HGLOBAL loaded = LoadResource(module, resource);
  size = int(bytes);
  return loaded ? LockResource(loaded) : nullptr;
}

}  // namespace

LICE_MemBitmap* LICE_LoadPNGResource(LICE_HINSTANCE module, unsigned int id,
                                     const char* fileName)
{
  int size = 0;
  const void* data = FindPNGResource(module, id, fileName, size);
  // Module resources stay mapped while the module is loaded: decode in place.
  return data ? LICE_ReadPNGMemory(data, size) : nullptr;
}

std::unique_ptr<LICE_PNGRows> LICE_OpenPNGResourceRows(LICE_HINSTANCE module, unsigned int id,
                                                       const char* fileName)
{
  int size = 0;
  const void* data = FindPNGResource(module, id, fileName, size);
  return data ? LICE_PNGRows::Open(data, size) : nullptr;
}
