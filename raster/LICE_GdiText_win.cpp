#include "raster/LICE_GdiText_win.h"

#include "raster/LICE_Utf8.h"

#include <cstdlib>

LICE_GdiText::LICE_GdiText(const char* text, int length) : m_narrow(text), m_length(length)
{
  if (!LICE_Utf8HasMultiByte(text, length)) return;
  const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, nullptr, 0);
  // With length -1 the count includes the terminating zero.
  const int textUnits = length < 0 ? units - 1 : units;
  if (units < 1 || textUnits < 1) return;
  int capacity = int(sizeof m_local / sizeof m_local[0]);
  wchar_t* buffer = m_local;
  if (textUnits > kLocalUnits) {
    capacity = textUnits + 32;
    buffer = static_cast<wchar_t*>(std::malloc(sizeof(wchar_t) * size_t(capacity)));
    if (!buffer) return;
  }
  const int converted =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, buffer, capacity - 1);
  if (converted < 1) {
    if (buffer != m_local) std::free(buffer);
    return;
  }
  buffer[converted] = 0;
  m_wide = buffer;
}

LICE_GdiText::~LICE_GdiText()
{
  if (m_wide && m_wide != m_local) std::free(m_wide);
}

int LICE_GdiText::Draw(HDC dc, RECT* rect, UINT flags) const
{
  return m_wide ? DrawTextW(dc, m_wide, -1, rect, flags)
                : DrawTextA(dc, m_narrow, m_length, rect, flags);
}
