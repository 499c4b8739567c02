// POSIX paths are byte strings: the UTF-8 path opens as it is.
#if !defined(_WIN32)

#include "raster/LICE_FileOpen.h"

std::FILE* LICE_OpenFileForReading(const char* utf8Path)
{
  if (!utf8Path) return nullptr;
  return std::fopen(utf8Path, "rb");
}

#endif
