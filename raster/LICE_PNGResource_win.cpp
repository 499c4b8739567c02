#include "raster/LICE_PNGResource.h"

#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNG.h"

#include <windows.h>

LICE_MemBitmap* LICE_LoadPNGResource(LICE_HINSTANCE module, unsigned int id,
                                     const char* fileName)
{
  if (!LICE_IsPNGResourceName(fileName)) return nullptr;

  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id & 0xFFFF), "PNG");
  if (!resource) return nullptr;
  const DWORD size = SizeofResource(module, resource);
  if (size < 8 || size > 0x7FFFFFFF) return nullptr;
  HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return nullptr;
  // Module resources stay mapped while the module is loaded: decode in place.
  return LICE_ReadPNGMemory(data, int(size));
}
