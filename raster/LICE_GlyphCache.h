#pragma once
// The glyph cache of one font: a record per rendered character and the 8-bit
// coverage masks of all of them, back to back in one store.

#include <cstdint>

struct GlyphRecord {
  // 0: not rendered yet; -1: renders to nothing; otherwise one more than the
  // byte offset of the mask in the coverage store.
  int32_t coverageOffset;
  // The mask is width x height bytes, row after row; 0 no ink, 255 full ink.
  int32_t width;
  int32_t height;
  int32_t advance;    // pen movement after the glyph
  int32_t character;  // UTF-16 code
  int32_t leftOffset; // how far left of the pen the mask's first column lies
};

class LICE_GlyphCache {
 public:
  LICE_GlyphCache() { Clear(); }
  ~LICE_GlyphCache();
  LICE_GlyphCache(const LICE_GlyphCache&) = delete;
  LICE_GlyphCache& operator=(const LICE_GlyphCache&) = delete;

  // Forgets every glyph: ASCII records zeroed, extended list and store emptied.
  void Clear();

  // The record of c, or null. Codes 0-127 always have one (zeroed until rendered);
  // others only once added.
  GlyphRecord* Find(int c);
  const GlyphRecord* Find(int c) const;
  // The record of c, adding a zeroed one in code order when missing; null when
  // the list cannot grow. Adding invalidates records found earlier.
  GlyphRecord* FindOrAdd(int c);

  // The coverage store. Grow gives the start of `bytes` new bytes at the end, or
  // null when memory runs out (the store then stays as it was).
  int StoreSize() const { return m_storeSize; }
  unsigned char* GrowStore(int bytes);
  void ShrinkStore(int size);
  unsigned char* StoreAt(int offset) { return m_store + offset; }

  // The mask of a rendered record, or null for one that renders to nothing.
  const unsigned char* Mask(const GlyphRecord& record) const;

 private:
  GlyphRecord m_ascii[128];
  GlyphRecord* m_extended = nullptr;  // sorted by character code
  int m_extendedCount = 0;
  int m_extendedCapacity = 0;
  unsigned char* m_store = nullptr;
  int m_storeSize = 0;
  int m_storeCapacity = 0;
};
