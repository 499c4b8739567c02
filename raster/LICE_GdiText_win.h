#pragma once
// Text as GDI's DrawText gets it on the native way: UTF-8 holding multi-byte
// characters becomes zero-terminated UTF-16 for DrawTextW; anything else, or
// text that does not convert, goes to DrawTextA unchanged with its length.

#include <windows.h>

class LICE_GdiText {
 public:
  // length -1: up to the terminating zero. The text must outlive this object.
  LICE_GdiText(const char* text, int length);
  ~LICE_GdiText();
  LICE_GdiText(const LICE_GdiText&) = delete;
  LICE_GdiText& operator=(const LICE_GdiText&) = delete;

  // DrawTextW or DrawTextA with the converted or the original text.
  int Draw(HDC dc, RECT* rect, UINT flags) const;
  bool IsWide() const { return m_wide != nullptr; }

 private:
  // Texts up to this many UTF-16 units convert without a heap allocation.
  static constexpr int kLocalUnits = 999;

  const char* m_narrow;
  int m_length;
  wchar_t* m_wide = nullptr;
  wchar_t m_local[1024];
};
