// Without GDI a system bitmap keeps its pixels in heap memory under the same
// storage rules and has no device context.
#ifndef _WIN32

#include "raster/LICE_SysBitmap.h"

#include <cstdlib>

LICE_SysBitmap::LICE_SysBitmap(int width, int height) { Resize(width, height); }

LICE_SysBitmap::~LICE_SysBitmap() { ReleaseSection(); }

bool LICE_SysBitmap::CanHoldPixels() const { return true; }

void LICE_SysBitmap::ReleaseSection()
{
  std::free(m_section);
  m_section = nullptr;
  m_pixels = nullptr;
}

bool LICE_SysBitmap::CreateSection()
{
  void* block = nullptr;
  const size_t bytes = size_t(m_allocWidth) * size_t(m_allocHeight) * sizeof(LICE_Color32);
  if (posix_memalign(&block, 64, bytes) != 0) return false;
  m_section = block;
  m_pixels = static_cast<LICE_Color32*>(block);
  return true;
}

#endif  // !_WIN32
