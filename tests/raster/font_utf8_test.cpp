// How text bytes become characters: leniently, one glyph at a time, for the glyph
// cache; strictly, to decide whether GDI gets UTF-16.

#include "raster/LICE_Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct NextCase {
  const char* name;
  std::string bytes;
  int available;  // -1: up to the zero
  int code;
  int used;
};

class Utf8NextGlyphChar : public ::testing::TestWithParam<NextCase> {};

TEST_P(Utf8NextGlyphChar, DecodesOneCharacter)
{
  const NextCase& c = GetParam();
  int code = -1;
  EXPECT_EQ(LICE_Utf8NextGlyphChar(c.bytes.c_str(), c.available, &code), c.used);
  EXPECT_EQ(code, c.code);
}

// Codes worked out from the bit layout: 110xxxxx 10yyyyyy -> xxxxxyyyyyy, and so on.
INSTANTIATE_TEST_SUITE_P(
    Utf8, Utf8NextGlyphChar,
    ::testing::Values(
        NextCase{"Ascii", "A", -1, 'A', 1},
        NextCase{"TwoBytes", "\xC3\xA9", -1, 0xE9, 2},
        NextCase{"ThreeBytes", "\xE2\x82\xAC", -1, 0x20AC, 3},
        NextCase{"FourBytesAreASpace", "\xF0\x9F\x98\x80", -1, ' ', 4},
        NextCase{"LoneE9IsItself", "\xE9", -1, 0xE9, 1},
        NextCase{"E9BeforeAsciiIsItself", "\xE9" "A", -1, 0xE9, 1},
        NextCase{"C0CountsAsContinuation", "\xC3\xC0", -1, 0xC0, 2},
        NextCase{"C1DoesNotContinue", "\xC3\xC1", -1, 0xC3, 1},
        NextCase{"StrayContinuationIsItself", "\x80", -1, 0x80, 1},
        NextCase{"OverlongLeadIsItself", "\xC1\x81", -1, 0xC1, 1},
        NextCase{"ThreeByteLeadCutShort", "\xE2\x82", -1, 0xE2, 1},
        NextCase{"FourByteLeadCutShort", "\xF0\x9F\x98", -1, 0xF0, 1},
        NextCase{"F5IsNoLead", "\xF5\x80\x80\x80", -1, 0xF5, 1},
        NextCase{"LimitStopsTwoBytes", "\xC3\xA9", 1, 0xC3, 1},
        NextCase{"LimitStopsThreeBytes", "\xE2\x82\xAC", 2, 0xE2, 1},
        NextCase{"LimitExactlyEnough", "\xE2\x82\xAC", 3, 0x20AC, 3}),
    [](const ::testing::TestParamInfo<NextCase>& info) { return std::string(info.param.name); });

TEST(Utf8HasMultiByte, FindsOnlyWellFormedLeads)
{
  const struct {
    const char* text;
    int length;
    bool multiByte;
  } cases[] = {
      {"plain text", -1, false},
      {"caf\xC3\xA9", -1, true},
      {"caf\xE9", -1, false},                 // Latin-1, no continuation
      {"\xE2\x82\xAC", -1, true},
      {"\xF0\x9F\x98\x80", -1, true},
      {"\xF5\x80\x80", -1, false},            // no lead above 0xF4
      {"\xC3\xC0", -1, false},                 // 0xC0 is no continuation here
      {"\xC1\x81", -1, false},                 // overlong lead
      {"\xE0\x80", -1, false},                 // one continuation is not enough
      {"ab\xC3\xA9", 3, false},                // the length cuts the pair
      {"ab\xC3\xA9", 4, true},
      {"", -1, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LICE_Utf8HasMultiByte(c.text, c.length), c.multiByte) << c.text;
  }
  EXPECT_FALSE(LICE_Utf8HasMultiByte(nullptr, -1));
}

}  // namespace
