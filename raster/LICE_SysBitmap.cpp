#include "raster/LICE_SysBitmap.h"

#include <climits>
#include <cstdint>

bool LICE_SysBitmap::Resize(int width, int height)
{
  if (!CanHoldPixels()) {
    m_width = 0;
    m_height = 0;
    m_pixels = nullptr;
    return false;
  }
  // A negative dimension is as empty as a zero one.
  if (width < 1 || height < 1) width = height = 0;
  if (width == m_width && height == m_height) return false;

  m_width = width;
  m_height = height;
  // Shrinking within the current section keeps it, pixels untouched.
  if (width > 0 && width <= m_allocWidth && height <= m_allocHeight && m_pixels) return true;

  ReleaseSection();
  if (width == 0) {
    m_allocWidth = 0;
    m_allocHeight = 0;
    return false;
  }

  // Rows padded to 4 pixels; sizes whose bytes an int cannot count fail like a
  // section that could not be made.
  const int64_t span = (int64_t(width) + 3) & ~int64_t(3);
  const bool addressable = span * 4 <= INT_MAX / height;
  m_allocWidth = addressable ? int(span) : 0;
  m_allocHeight = addressable ? height : 0;
  if (!addressable || !CreateSection()) {
    m_width = 0;
    m_height = 0;
    m_pixels = nullptr;
    m_allocWidth = 0;
    m_allocHeight = 0;
  }
  return true;
}
