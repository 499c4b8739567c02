#include "raster/LICE_PNGResource.h"

bool LICE_IsPNGResourceName(const char* fileName)
{
  if (!fileName) return false;
  const char* ext = nullptr;
  for (const char* p = fileName; *p; ++p) {
    if (*p == '.') ext = p + 1;
  }
  if (!ext) ext = *fileName ? fileName + 1 : fileName;

  static const char kPng[] = "png";
  for (int i = 0; i < 3; ++i) {
    char c = ext[i];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != kPng[i]) return false;
  }
  return ext[3] == '\0';
}
