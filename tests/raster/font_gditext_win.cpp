// Text handed to GDI on the native way: UTF-8 with multi-byte characters as
// UTF-16, everything else narrow and unchanged.

#include "raster/LICE_GdiText_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

// Width GDI measures for the text, in the stock font of a memory DC.
class Measurer {
 public:
  Measurer() : dc_(CreateCompatibleDC(nullptr)) {}
  ~Measurer() { DeleteDC(dc_); }
  int Width(const LICE_GdiText& text) const
  {
    RECT rect = {0, 0, 0, 0};
    text.Draw(dc_, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return rect.right - rect.left;
  }
  int WideWidth(const std::wstring& text) const
  {
    RECT rect = {0, 0, 0, 0};
    DrawTextW(dc_, text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return rect.right - rect.left;
  }
  int NarrowWidth(const char* text, int length) const
  {
    RECT rect = {0, 0, 0, 0};
    DrawTextA(dc_, text, length, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return rect.right - rect.left;
  }

 private:
  HDC dc_;
};

TEST(GdiText, OnlyWellFormedMultiByteTextBecomesWide)
{
  const struct {
    const char* text;
    int length;
    bool wide;
  } cases[] = {
      {"Gain", -1, false},
      {"caf\xC3\xA9", -1, true},
      {"caf\xC3\xA9", 4, false},             // the length cuts the pair off
      {"caf\xE9", -1, false},                // Latin-1 stays narrow
      {"\xC3\xA9 and \xFF", -1, false},      // an invalid byte fails the conversion
      {"\xE2\x82\xAC 5", -1, true},
  };
  for (const auto& c : cases) {
    LICE_GdiText text(c.text, c.length);
    EXPECT_EQ(text.IsWide(), c.wide) << c.text << " " << c.length;
  }
}

TEST(GdiText, DrawsTheConvertedOrTheOriginalText)
{
  Measurer gdi;
  EXPECT_EQ(gdi.Width(LICE_GdiText("caf\xC3\xA9", -1)), gdi.WideWidth(L"caf\x00E9"));
  EXPECT_EQ(gdi.Width(LICE_GdiText("Gain dB", 4)), gdi.NarrowWidth("Gain", 4));
  EXPECT_EQ(gdi.Width(LICE_GdiText("x\xE9y", -1)), gdi.NarrowWidth("x\xE9y", -1));
}

TEST(GdiText, LongTextsConvertWhole)
{
  // Around the size the local buffer holds, and far beyond it.
  for (int units : {998, 999, 1000, 1023, 1024, 3000}) {
    std::string utf8;
    std::wstring utf16;
    for (int i = 0; i < units; ++i) {
      utf8 += i % 2 ? "\xC3\xA9" : "a";
      utf16 += i % 2 ? L'\x00E9' : L'a';
    }
    Measurer gdi;
    LICE_GdiText text(utf8.c_str(), -1);
    EXPECT_TRUE(text.IsWide()) << units;
    EXPECT_EQ(gdi.Width(text), gdi.WideWidth(utf16)) << units;
    LICE_GdiText counted(utf8.c_str(), int(utf8.size()));
    EXPECT_EQ(gdi.Width(counted), gdi.WideWidth(utf16)) << units;
  }
}

}  // namespace
