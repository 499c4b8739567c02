#include "raster/LICE_MemBitmap.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int kAlignment = 64;
// The block is 63 bytes longer than its capacity so Pixels() can be rounded up.
constexpr int64_t kSlack = kAlignment - 1;
constexpr int64_t kMaxCapacity = INT_MAX - kSlack;

}  // namespace

LICE_MemBitmap::LICE_MemBitmap(int width, int height)
{
  if (width > 0 && height > 0) Resize(width, height);
}

LICE_MemBitmap::~LICE_MemBitmap() { Release(); }

void LICE_MemBitmap::Release()
{
  std::free(m_storage);
  m_storage = nullptr;
  m_capacity = 0;
}

LICE_Color32* LICE_MemBitmap::Pixels()
{
  if (!m_storage) return nullptr;
  const uintptr_t address = reinterpret_cast<uintptr_t>(m_storage);
  const uintptr_t aligned = (address + (kAlignment - 1)) & ~uintptr_t(kAlignment - 1);
  return reinterpret_cast<LICE_Color32*>(static_cast<char*>(m_storage) + (aligned - address));
}

bool LICE_MemBitmap::Resize(int width, int height)
{
  if (width == m_width && height == m_height) return false;
  m_width = width;
  m_height = height;

  // 64-bit so that no size overflows; a size whose bytes an int cannot count is
  // treated like memory that could not be had.
  const int64_t span = (int64_t(width) + m_alignMask) & ~int64_t(m_alignMask);
  const int64_t rowBytes = span * int64_t(sizeof(LICE_Color32));
  const bool addressable = width >= 1 && height >= 1 && rowBytes <= kMaxCapacity / height;

  if (addressable) {
    const int need = int(rowBytes * height);
    if (!m_storage) {
      m_capacity = need;
      m_storage = std::malloc(size_t(need) + kSlack);
    } else if (need > m_capacity) {
      const int64_t grown = std::min<int64_t>(int64_t(need) + need / 4, kMaxCapacity);
      void* moved = std::realloc(m_storage, size_t(grown) + kSlack);
      if (moved) {
        m_storage = moved;
        m_capacity = int(grown);
      } else {
        std::free(m_storage);
        m_capacity = need;
        m_storage = std::malloc(size_t(need) + kSlack);
      }
    }
  } else {
    Release();
  }

  if (!m_storage) {
    m_capacity = 0;
    m_width = 0;
    m_height = 0;
  }
  return true;
}
