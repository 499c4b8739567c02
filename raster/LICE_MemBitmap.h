#pragma once
// A bitmap whose pixels live in heap memory; every decoded picture is one.
//
// Pixels start on a 64-byte boundary and rows are padded to a multiple of
// 4 pixels. Storage grows with 25 % headroom and never shrinks, so decoding into
// the same bitmap again does not reallocate. Resize neither clears nor keeps the
// picture: after growth the old bytes are meaningless under the new row span.

#include "raster/LICE_IBitmap.h"

class LICE_MemBitmap : public LICE_IBitmap {
 public:
  // Resizes once when both dimensions are above 0.
  explicit LICE_MemBitmap(int width = 0, int height = 0);
  ~LICE_MemBitmap() override;

  LICE_MemBitmap(const LICE_MemBitmap&) = delete;
  LICE_MemBitmap& operator=(const LICE_MemBitmap&) = delete;

  LICE_Color32* Pixels() override;
  int Width() const override { return m_width; }
  int Height() const override { return m_height; }
  // The width rounded up to a multiple of 4 pixels.
  int RowSpan() const override { return (m_width + 3) & ~3; }

  // False when the size is unchanged. Otherwise true, also when the memory could
  // not be had or the size is empty, negative or too large to address: the bitmap
  // is then 0 x 0 with no pixels.
  bool Resize(int width, int height) override;

  // Bytes usable in the storage block (the block itself is 63 bytes longer).
  int Capacity() const { return m_capacity; }

 private:
  void Release();

  void* m_storage = nullptr;
  int m_width = 0;
  int m_height = 0;
  int m_capacity = 0;
  int m_alignMask = 3;
};
