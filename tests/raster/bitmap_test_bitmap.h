#pragma once
// A bitmap for tests: pixels in a vector, any row span, either row order.

#include "raster/LICE_IBitmap.h"

#include <cstddef>
#include <vector>

class TestBitmap : public LICE_IBitmap {
 public:
  TestBitmap(int width, int height, bool bottomUp = false, int span = -1, LICE_Color32 fill = 0)
      : m_width(width), m_height(height), m_span(span < 0 ? width : span), m_bottomUp(bottomUp),
        m_store(std::size_t(m_span > 0 ? m_span : 1) * std::size_t(height > 0 ? height : 1), fill)
  {
  }

  LICE_Color32* Pixels() override { return m_store.data(); }
  int Width() const override { return m_width; }
  int Height() const override { return m_height; }
  int RowSpan() const override { return m_span; }
  bool IsBottomUp() const override { return m_bottomUp; }
  bool Resize(int, int) override { return false; }

  // Pixel (x, y) as drawing sees it, wherever it is stored.
  LICE_Color32& At(int x, int y)
  {
    const int row = m_bottomUp ? m_height - 1 - y : y;
    return m_store[std::size_t(row) * std::size_t(m_span) + std::size_t(x)];
  }
  // Pixel by storage position, ignoring the row order.
  LICE_Color32& Stored(int x, int row) { return m_store[std::size_t(row) * std::size_t(m_span) + std::size_t(x)]; }

 private:
  int m_width, m_height, m_span;
  bool m_bottomUp;
  std::vector<LICE_Color32> m_store;
};

// A null-pixel bitmap of some size: drawing onto or from it does nothing.
class EmptyPixelsBitmap : public LICE_IBitmap {
 public:
  LICE_Color32* Pixels() override { return nullptr; }
  int Width() const override { return 8; }
  int Height() const override { return 8; }
  int RowSpan() const override { return 8; }
  bool Resize(int, int) override { return false; }
};
