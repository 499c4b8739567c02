#include "raster/LICE_GlyphCache.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// The list grows by 4096 bytes at a time, the store by 65536.
constexpr int kExtendedStep = 4096 / int(sizeof(GlyphRecord));
constexpr int kStoreStep = 65536;

}  // namespace

LICE_GlyphCache::~LICE_GlyphCache()
{
  std::free(m_extended);
  std::free(m_store);
}

void LICE_GlyphCache::Clear()
{
  std::memset(m_ascii, 0, sizeof m_ascii);
  m_extendedCount = 0;
  m_storeSize = 0;
}

GlyphRecord* LICE_GlyphCache::Find(int c)
{
  return const_cast<GlyphRecord*>(static_cast<const LICE_GlyphCache*>(this)->Find(c));
}

const GlyphRecord* LICE_GlyphCache::Find(int c) const
{
  if (c >= 0 && c < 128) return &m_ascii[c];
  int low = 0;
  int high = m_extendedCount - 1;
  while (low <= high) {
    const int mid = (low + high) / 2;
    const int code = m_extended[mid].character;
    if (code == c) return &m_extended[mid];
    if (code < c) {
      low = mid + 1;
    } else {
      high = mid - 1;
    }
  }
  return nullptr;
}

GlyphRecord* LICE_GlyphCache::FindOrAdd(int c)
{
  if (GlyphRecord* found = Find(c)) return found;
  if (m_extendedCount == m_extendedCapacity) {
    const int capacity = m_extendedCapacity + kExtendedStep;
    void* grown = std::realloc(m_extended, sizeof(GlyphRecord) * size_t(capacity));
    if (!grown) return nullptr;
    m_extended = static_cast<GlyphRecord*>(grown);
    m_extendedCapacity = capacity;
  }
  int at = 0;
  while (at < m_extendedCount && m_extended[at].character < c) ++at;
  std::memmove(m_extended + at + 1, m_extended + at,
               sizeof(GlyphRecord) * size_t(m_extendedCount - at));
  ++m_extendedCount;
  GlyphRecord* record = &m_extended[at];
  std::memset(record, 0, sizeof *record);
  record->character = c;
  return record;
}

unsigned char* LICE_GlyphCache::GrowStore(int bytes)
{
  if (bytes < 0 || bytes > INT_MAX - kStoreStep - m_storeSize) return nullptr;
  const int size = m_storeSize + bytes;
  if (size > m_storeCapacity) {
    const int capacity = (size / kStoreStep + 1) * kStoreStep;
    void* grown = std::realloc(m_store, size_t(capacity));
    if (!grown) return nullptr;
    m_store = static_cast<unsigned char*>(grown);
    m_storeCapacity = capacity;
  }
  unsigned char* start = m_store + m_storeSize;
  m_storeSize = size;
  return start;
}

void LICE_GlyphCache::ShrinkStore(int size)
{
  if (size >= 0 && size < m_storeSize) m_storeSize = size;
}

const unsigned char* LICE_GlyphCache::Mask(const GlyphRecord& record) const
{
  if (record.coverageOffset <= 0 || record.width <= 0 || record.height <= 0) return nullptr;
  return m_store + (record.coverageOffset - 1);
}
