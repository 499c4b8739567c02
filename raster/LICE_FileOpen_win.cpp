#include "raster/LICE_FileOpen.h"

#include <windows.h>

std::FILE* LICE_OpenFileForReading(const char* utf8Path)
{
  if (!utf8Path) return nullptr;
  wchar_t widePath[2048];
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Path, -1, widePath, 2048) > 0) {
    if (std::FILE* file = _wfopen(widePath, L"rb")) return file;
  }
  return std::fopen(utf8Path, "rb");
}
