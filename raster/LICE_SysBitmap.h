#pragma once
// A bitmap GDI can draw into: the editor's drawing surface and the font scratch
// surfaces.
//
// On Windows the pixels live in a top-down 32-bit DIB section selected into the
// bitmap's own memory device context, made when the object is built. Rows are
// padded to a multiple of 4 pixels, and the section is kept when the bitmap
// shrinks, so a surface resized down and up again does not touch GDI; the pixel
// pointer is invalid after any Resize that makes a new section.
//
// On other platforms there is no GDI: the same storage rules hold (rows padded
// to 4 pixels, memory kept when shrinking, a new block only on growth) with the
// pixels in heap memory, and DeviceContext() answers null.

#include "raster/LICE_IBitmap.h"

class LICE_SysBitmap : public LICE_IBitmap {
 public:
  // Makes the device context, then resizes to width x height (0 x 0 leaves the
  // bitmap empty).
  explicit LICE_SysBitmap(int width = 0, int height = 0);
  ~LICE_SysBitmap() override;

  LICE_SysBitmap(const LICE_SysBitmap&) = delete;
  LICE_SysBitmap& operator=(const LICE_SysBitmap&) = delete;

  LICE_Color32* Pixels() override { return m_pixels; }
  int Width() const override { return m_width; }
  int Height() const override { return m_height; }
  // The width of the current section, which may exceed Width() after shrinking.
  int RowSpan() const override { return m_allocWidth; }
  LICE_HDC DeviceContext() const override { return m_dc; }

  // False when the size is unchanged, when the bitmap has no device context
  // (Windows) and when the new size is empty, which releases the pixels and
  // leaves the bitmap 0 x 0. True when the size changed: a shrink keeps the
  // current section untouched; a growth makes a new section, and when that fails
  // (or the size is too large to address) the bitmap is 0 x 0 with no pixels.
  bool Resize(int width, int height) override;

 private:
  // Windows: whether the device context exists; elsewhere always true.
  bool CanHoldPixels() const;
  // Drops the current section (Windows: selects the displaced bitmap back first).
  void ReleaseSection();
  // Makes a section of m_allocWidth x m_allocHeight and points m_pixels into it.
  bool CreateSection();

  int m_width = 0;
  int m_height = 0;
  LICE_HDC m_dc = nullptr;
  LICE_Color32* m_pixels = nullptr;
  int m_allocWidth = 0;
  int m_allocHeight = 0;
  void* m_section = nullptr;    // Windows: the DIB section (HBITMAP); else the heap block
  void* m_displaced = nullptr;  // Windows: the GDI object the section displaced
};
