#pragma once
// The 32-bit raster bitmap every drawing operation works on.
//
// Pixel (x, y) lives at pixel offset y * RowSpan() + x from Pixels() when the
// bitmap stores its top row first, and at (Height() - 1 - y) * RowSpan() + x when
// IsBottomUp() answers true. Compositing, filling and text drawing honour that
// answer on both source and destination.

#include "raster/LICE_Color.h"

#include <cstdint>

// GDI device context as an opaque handle. On Windows (STRICT handles, the
// mingw-w64 default) this is the very type HDC, so GDI code uses it without casts;
// platform-neutral code never sees <windows.h>.
struct HDC__;
typedef HDC__* LICE_HDC;

class LICE_IBitmap {
 public:
  virtual ~LICE_IBitmap() = default;

  // First stored pixel, or null when the bitmap holds no pixels.
  virtual LICE_Color32* Pixels() = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Distance between stored rows, in pixels (at least the width).
  virtual int RowSpan() const = 0;
  virtual bool IsBottomUp() const { return false; }
  // Answers as each implementation documents; callers that need the new size
  // must check Width() and Height() afterwards, since a failed allocation leaves
  // the bitmap at 0 x 0.
  virtual bool Resize(int width, int height) = 0;
  // GDI device context holding the pixels, or null.
  virtual LICE_HDC DeviceContext() const { return nullptr; }
  // Optional queries by identifier; 0 means "not supported".
  virtual intptr_t Extension(int id, void* data)
  {
    (void)id;
    (void)data;
    return 0;
  }

 protected:
  LICE_IBitmap() = default;
  LICE_IBitmap(const LICE_IBitmap&) = default;
  LICE_IBitmap& operator=(const LICE_IBitmap&) = default;
};
