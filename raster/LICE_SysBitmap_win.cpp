// GDI side of LICE_SysBitmap: a memory DC for the bitmap's lifetime and a
// top-down 32-bit DIB section selected into it.
#include "raster/LICE_SysBitmap.h"

#include <windows.h>

#include <type_traits>

static_assert(std::is_same<LICE_HDC, HDC>::value, "LICE_HDC must be GDI's HDC");

LICE_SysBitmap::LICE_SysBitmap(int width, int height)
{
  m_dc = CreateCompatibleDC(nullptr);
  Resize(width, height);
}

LICE_SysBitmap::~LICE_SysBitmap()
{
  ReleaseSection();
  if (m_dc) DeleteDC(m_dc);
}

bool LICE_SysBitmap::CanHoldPixels() const { return m_dc != nullptr; }

void LICE_SysBitmap::ReleaseSection()
{
  if (m_displaced && m_dc) SelectObject(m_dc, static_cast<HGDIOBJ>(m_displaced));
  m_displaced = nullptr;
  if (m_section) DeleteObject(static_cast<HGDIOBJ>(m_section));
  m_section = nullptr;
  m_pixels = nullptr;
}

bool LICE_SysBitmap::CreateSection()
{
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = m_allocWidth;
  // A negative height asks GDI for the top row first.
  info.bmiHeader.biHeight = IsBottomUp() ? m_allocHeight : -m_allocHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section || !bits) {
    if (section) DeleteObject(section);
    return false;
  }
  m_section = section;
  m_pixels = static_cast<LICE_Color32*>(bits);
  m_displaced = SelectObject(m_dc, section);
  return true;
}
