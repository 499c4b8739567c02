// Every combiner through LICE_Composite, one pixel at a time. Expected pixels
// are worked out by hand from the rules; the arithmetic is in the comments
// (integer division truncates toward zero).
#include "raster/LICE_Combiners.h"
#include "raster/LICE_Composite.h"
#include "raster/LICE_MemBitmap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

constexpr LICE_Color32 P(int r, int g, int b, int a) { return LICE_RGBA(r, g, b, a); }

std::string Hex(LICE_Color32 c)
{
  char text[16];
  std::snprintf(text, sizeof text, "%08X", unsigned(c));
  return text;
}

struct OnePixel {
  const char* behaviour;
  int mode;
  float weight;
  LICE_Color32 dest;
  LICE_Color32 src;
  LICE_Color32 expected;
};

constexpr int SA = CompositeUseSourceAlpha;
// Weights whose k = trunc(weight * 256) is the number named; 0.501 keeps a plain
// copy off its 0.5 fast path while still giving k = 128.
constexpr float k256 = 1.0f, k128 = 0.5f, k128Copy = 0.501f, k64 = 0.25f, k1 = 1.0f / 256,
                k255 = 255.0f / 256;

const OnePixel kCases[] = {
    // Copy: d = s + (d - s) * (256 - k) / 256 per channel.
    // R 0 + 200*128/256 = 100; G 50 + 50*128/256 = 75; B 255 - 255*128/256 = 255 - 127 = 128
    // (truncation toward zero); A 0 + 255*128/256 = 127.
    {"copy at k 128 blends every channel, alpha included", CompositeCopy, k128Copy,
     P(200, 100, 0, 255), P(0, 50, 255, 0), P(100, 75, 128, 127)},
    // keep 192: R 200*192/256 = 150; G 50 + 37 = 87; B 255 - 191 = 64; A 191.
    {"copy at k 64", CompositeCopy, k64, P(200, 100, 0, 255), P(0, 50, 255, 0),
     P(150, 87, 64, 191)},
    {"copy at full weight replaces the pixel", CompositeCopy, k256, P(200, 100, 0, 255),
     P(0, 50, 255, 0), P(0, 50, 255, 0)},

    // Add: clamp(d + s * k / 256).
    // R 200 + 50; G 10 + 10; B 0 + 127; A 100 + 127.
    {"add at k 128", CompositeAdd, k128, P(200, 10, 0, 100), P(100, 20, 255, 255),
     P(250, 20, 127, 227)},
    {"add saturates at 255", CompositeAdd, k256, P(200, 10, 0, 100), P(100, 20, 255, 255),
     P(255, 30, 255, 255)},

    // Dodge: q = 256 - s * k / 256; clamp(d * 256 / q), or clamp(d * 256) when q <= 1.
    // R q 128: 100*256/128 = 200; G q 192: 23040/192 = 120; B q 1: d 0 stays 0;
    // A q 1: d 1 saturates.
    {"dodge at full weight, q <= 1 saturating non-zero channels only", CompositeDodge, k256,
     P(100, 90, 0, 1), P(128, 64, 255, 255), P(200, 120, 0, 255)},
    // R q = 256 - 127 = 129: 25600/129 = 198; zero source leaves the rest.
    {"dodge at k 128", CompositeDodge, k128, P(100, 0, 0, 0), P(255, 0, 0, 0),
     P(198, 0, 0, 0)},

    // Multiply: (((s - 256) * k + 65536) * d) >> 16.
    // k 256: s*d/256: 128*200 -> 100; 255*255 = 65025 -> 254; 0; 0.
    {"multiply at full weight", CompositeMultiply, k256, P(200, 255, 100, 201),
     P(128, 255, 0, 0), P(100, 254, 0, 0)},
    // R 49152*200 >> 16 = 150; G 65408*255 >> 16 = 254; B 32768*100 >> 16 = 50;
    // A 32768*201 >> 16 = 100.
    {"multiply at k 128", CompositeMultiply, k128, P(200, 255, 100, 201), P(128, 255, 0, 0),
     P(150, 254, 50, 100)},

    // Overlay: t = s*k + (256-k)*128; clamp(((((32768 - t) * d) / 256 + t) * d) >> 15).
    // R t 0: 128*100*100 >> 15 = 39; G t 32768 leaves 128; B t 65280: 255;
    // A t 65280: (-3251200/256 + 65280) * 100 >> 15 = 52580*100 >> 15 = 160.
    {"overlay at full weight", CompositeOverlay, k256, P(100, 128, 255, 100),
     P(0, 128, 255, 255), P(39, 128, 255, 160)},
    // R t 49024: (-1625600/256 + 49024) * 100 >> 15 = 42674*100 >> 15 = 130; G t 32768
    // leaves 100; B t 16384: (6400 + 16384) * 100 >> 15 = 69; A as R.
    {"overlay at k 128", CompositeOverlay, k128, P(100, 100, 100, 100), P(255, 128, 0, 255),
     P(130, 100, 69, 130)},

    // HSV adjust; alpha becomes the source's.
    {"a mid-grey source keeps a grey pixel", CompositeHSVAdjust, k256, P(80, 80, 80, 200),
     P(128, 128, 128, 17), P(80, 80, 80, 17)},
    {"a mid-grey source keeps a grey pixel at any weight", CompositeHSVAdjust, k64,
     P(80, 80, 80, 200), P(128, 128, 128, 17), P(80, 80, 80, 17)},
    // Red: H 0, S 255*256/256 = 255, V 255. Shift (170 + 85 - 192) = 63 -> H 63.
    // p = 1*255/256 = 0; G = F(-1) = (16129*255)/16384 = 251.
    {"a red source turns the hue", CompositeHSVAdjust, k256, P(255, 0, 0, 255),
     P(170, 128, 128, 255), P(255, 251, 0, 255)},
    // H shift 63*128/256 = 31; G = F(-33) = (7969*255)/16384 = 124.
    {"the hue turn scales with the weight", CompositeHSVAdjust, k128, P(255, 0, 0, 255),
     P(170, 128, 128, 255), P(255, 124, 0, 255)},
    // (200, 50, 100): V 200, delta 150, base 383, diff -50. S = 150*326/256 = 191;
    // H = 383 + (-50*436)/1024 = 383 - 21 = 362. p = 65*200/256 = 50;
    // B = F(320 - 362) = (8362*200)/16384 = 102.
    {"a neutral source round-trips a colour through HSV", CompositeHSVAdjust, k256,
     P(200, 50, 100, 0), P(128, 128, 128, 255), P(200, 50, 102, 255)},
    // The other hue sectors, each with V 200, delta 150, S 191, p 50 and a hue
    // offset of 50*436/1024 = 21 either way; the far channel is F(-43) =
    // (8171*200)/16384 = 99.
    // (200, 100, 50): red largest, G >= B: base 0, diff 50 -> H 21.
    {"hue sector of red toward yellow", CompositeHSVAdjust, k256, P(200, 100, 50, 0),
     P(128, 128, 128, 255), P(200, 99, 50, 255)},
    // (100, 200, 50): green largest: base 128, diff B - R = -50 -> H 107.
    {"hue sector of green", CompositeHSVAdjust, k256, P(100, 200, 50, 0),
     P(128, 128, 128, 255), P(99, 200, 50, 255)},
    // (50, 100, 200): G > R, B >= G: base 256, diff R - G = -50 -> H 235.
    {"hue sector of blue toward cyan", CompositeHSVAdjust, k256, P(50, 100, 200, 0),
     P(128, 128, 128, 255), P(50, 99, 200, 255)},
    // H 362 - 192 = 170: R p 50, G V 200, B F(-22) = (12182*200)/16384 = 148.
    {"the hue turns backwards", CompositeHSVAdjust, k256, P(200, 50, 100, 0),
     P(0, 128, 128, 255), P(50, 200, 148, 255)},
    // H 362 + 190 = 552 - 384 = 168: B F(-24) = (11800*200)/16384 = 144.
    {"a hue past the circle wraps to the start", CompositeHSVAdjust, k256, P(200, 50, 100, 0),
     P(255, 128, 128, 255), P(50, 200, 144, 255)},
    // H 0 - 192 + 384 = 192: R p 0, G F(0) = 255, B V 255.
    {"a hue below zero wraps to the end: red becomes cyan", CompositeHSVAdjust, k256,
     P(255, 0, 0, 255), P(0, 128, 128, 255), P(0, 255, 255, 255)},
    // -192*1/256 truncates to 0 (flooring would give H 383 and blue 4).
    {"the smallest hue turn truncates toward zero", CompositeHSVAdjust, k1, P(255, 0, 0, 255),
     P(0, 128, 128, 255), P(255, 0, 0, 255)},
    // Grey 100: H 256, S 0 -> 0 + 127*256/128 = 254; p = 2*100/256 = 0;
    // R = F(-64) = (128*100)/16384 = 0.
    {"green above 128 raises saturation", CompositeHSVAdjust, k256, P(100, 100, 100, 255),
     P(128, 255, 128, 255), P(0, 0, 100, 255)},
    // V = 100 - 128*64/128 = 36.
    {"blue below 128 lowers value", CompositeHSVAdjust, k64, P(100, 100, 100, 255),
     P(128, 128, 0, 255), P(36, 36, 36, 255)},

    // Copy with source alpha.
    // 0 + (255 - 0) * 127 / 256 = 126; alpha min(255, 255 + 128).
    {"alpha 128 black over opaque white gives 126 and alpha 255", SA | CompositeCopy, k256,
     P(255, 255, 255, 255), P(0, 0, 0, 128), P(126, 126, 126, 255)},
    // f = 256*128/256 = 128; A 10 + 128; R 0 + 200*128/256 = 100; G 100 - 50.
    {"k 128 over alpha 10 gives 138", SA | CompositeCopy, k128, P(200, 0, 0, 10),
     P(0, 100, 0, 255), P(100, 50, 0, 138)},
    {"alpha 0 leaves the pixel at full weight", SA | CompositeCopy, k256, P(1, 2, 3, 4),
     P(9, 9, 9, 0), P(1, 2, 3, 4)},
    {"alpha 0 leaves the pixel at part weight", SA | CompositeCopy, k128, P(1, 2, 3, 4),
     P(9, 9, 9, 0), P(1, 2, 3, 4)},
    {"alpha 255 replaces the pixel exactly", SA | CompositeCopy, k256, P(1, 2, 3, 4),
     P(9, 8, 7, 255), P(9, 8, 7, 255)},
    // R 200*156/256 = 121; A gains sa = 99 (not f = 100).
    {"full weight blends by 255 - sa and adds sa to alpha", SA | CompositeCopy, k256,
     P(200, 0, 0, 0), P(0, 0, 0, 99), P(121, 0, 0, 99)},
    // f = 100*128/256 = 50: R 200*206/256 = 160; A 0 + 50.
    {"part weight blends by f and adds f to alpha", SA | CompositeCopy, k128, P(200, 0, 0, 0),
     P(0, 0, 0, 99), P(160, 0, 0, 50)},
    // R 255 - 255*127/256 = 255 - 126 = 129.
    {"a blend toward a brighter source truncates toward zero", SA | CompositeCopy, k256,
     P(0, 0, 0, 200), P(255, 0, 0, 128), P(129, 0, 0, 255)},
    // f = 256*255/256 = 255: R 10 + 190*1/256 = 10; A min(255, 10 + 255).
    {"opaque source just below full weight", SA | CompositeCopy, k255, P(200, 0, 0, 10),
     P(10, 0, 0, 255), P(10, 0, 0, 255)},

    // Add with source alpha: f = (sa + 1) * k / 256 = 128.
    // R 200 + 50; G 127; B 1*128/256 = 0; A 100 + 127*128/256 = 163.
    {"add scales the source by its alpha", SA | CompositeAdd, k256, P(200, 0, 0, 100),
     P(100, 255, 1, 127), P(250, 127, 0, 163)},
    {"add with alpha 0 draws nothing", SA | CompositeAdd, k256, P(10, 10, 10, 10),
     P(255, 255, 255, 0), P(10, 10, 10, 10)},

    // Dodge with source alpha, f = 128: R q 129 -> 198; A q = 256 - 63 = 193:
    // 12800/193 = 66.
    {"dodge scales the source by its alpha", SA | CompositeDodge, k256, P(100, 0, 0, 50),
     P(255, 0, 0, 127), P(198, 0, 0, 66)},
    // f = 1*256/256 = 1: q = 256 - 255/256 = 256, so nothing changes.
    {"dodge with alpha 0 still runs, at weight 1", SA | CompositeDodge, k256,
     P(100, 100, 100, 100), P(255, 255, 255, 0), P(100, 100, 100, 100)},

    // Multiply with source alpha: f = 256: R 100; G 254; B 0; A 255*255 -> 254.
    {"multiply with an opaque source", SA | CompositeMultiply, k256, P(200, 255, 100, 255),
     P(128, 255, 0, 255), P(100, 254, 0, 254)},
    // f = 128, g = 32768: R 32768*200 >> 16 = 100; A (16256 + 32768)*200 >> 16 = 149.
    {"multiply scales the source by its alpha", SA | CompositeMultiply, k256,
     P(200, 0, 0, 200), P(0, 0, 0, 127), P(100, 0, 0, 149)},
    {"multiply with alpha 0 draws nothing", SA | CompositeMultiply, k256, P(100, 0, 0, 200),
     P(0, 0, 0, 0), P(100, 0, 0, 200)},

    // Overlay with source alpha, f = 128 for sa 127; alpha channel t = 32640:
    // (128*100/256 + 32640) * 100 >> 15 = 99.
    {"overlay scales the source by its alpha", SA | CompositeOverlay, k256,
     P(100, 100, 100, 100), P(255, 128, 0, 127), P(130, 100, 69, 99)},
    // f = 1: t = 255*128 = 32640 on every channel, as above: 99.
    {"overlay with alpha 0 still runs, at weight 1", SA | CompositeOverlay, k256,
     P(100, 100, 100, 100), P(0, 0, 0, 0), P(99, 99, 99, 99)},

    // HSV with source alpha: f = 128, as "the hue turn scales with the weight".
    {"HSV adjust scales the source by its alpha", SA | CompositeHSVAdjust, k256,
     P(255, 0, 0, 255), P(170, 128, 128, 127), P(255, 124, 0, 127)},

    // Mode bits other than the low byte and bit 16 do not matter.
    {"unused mode bits are ignored", 0x20000 | CompositeAdd, k256, P(200, 10, 0, 100),
     P(100, 20, 255, 255), P(255, 30, 255, 255)},
    {"an unknown combiner draws nothing", 6, k256, P(1, 2, 3, 4), P(9, 9, 9, 9),
     P(1, 2, 3, 4)},
    {"an unknown combiner with source alpha draws nothing", SA | 0x7F, k256, P(1, 2, 3, 4),
     P(9, 9, 9, 9), P(1, 2, 3, 4)},
};

TEST(CompositeCombiners, EachRuleGivesTheHandWorkedPixel)
{
  for (const OnePixel& c : kCases) {
    SCOPED_TRACE(c.behaviour);
    LICE_MemBitmap dest(1, 1), src(1, 1);
    *dest.Pixels() = c.dest;
    *src.Pixels() = c.src;
    LICE_Composite(&dest, &src, 0, 0, nullptr, c.weight, c.mode);
    EXPECT_EQ(Hex(*dest.Pixels()), Hex(c.expected));
  }
}

TEST(CompositeCombiners, WeightZeroDrawsNothingInEveryMode)
{
  const int modes[] = {0, 1, 2, 3, 4, 5, SA, SA | 1, SA | 2, SA | 3, SA | 4, SA | 5,
                       LICE_ChannelCopyMode(0, 3)};
  for (int mode : modes) {
    SCOPED_TRACE(mode);
    LICE_MemBitmap dest(1, 1), src(1, 1);
    *dest.Pixels() = P(10, 20, 30, 40);
    *src.Pixels() = P(200, 100, 50, 255);
    LICE_Composite(&dest, &src, 0, 0, nullptr, 0.0f, mode);
    EXPECT_EQ(*dest.Pixels(), P(10, 20, 30, 40));
  }
}

TEST(CompositeCombiners, WeightBelowOneStepDrawsNothingExceptChannelCopy)
{
  const float tiny = 0.003f;  // 0.768 -> k 0
  const int modes[] = {0, 1, 2, 3, 4, 5, SA, SA | 1, SA | 2, SA | 3, SA | 4, SA | 5};
  for (int mode : modes) {
    SCOPED_TRACE(mode);
    LICE_MemBitmap dest(1, 1), src(1, 1);
    *dest.Pixels() = P(10, 20, 30, 40);
    *src.Pixels() = P(200, 100, 50, 255);
    LICE_Composite(&dest, &src, 0, 0, nullptr, tiny, mode);
    EXPECT_EQ(*dest.Pixels(), P(10, 20, 30, 40));
  }
  LICE_MemBitmap dest(1, 1), src(1, 1);
  *dest.Pixels() = P(10, 20, 30, 40);
  *src.Pixels() = P(200, 100, 50, 255);
  LICE_Composite(&dest, &src, 0, 0, nullptr, tiny, LICE_ChannelCopyMode(LICE_PIXEL_R, LICE_PIXEL_A));
  EXPECT_EQ(*dest.Pixels(), P(10, 20, 30, 200));
}

TEST(CompositeCombiners, ChannelCopyMovesOneByteWhateverTheWeight)
{
  struct Case {
    int from, to;
    LICE_Color32 expected;
  } cases[] = {
      {LICE_PIXEL_R, LICE_PIXEL_A, P(10, 20, 30, 200)},
      {LICE_PIXEL_A, LICE_PIXEL_B, P(10, 20, 255, 40)},
      {LICE_PIXEL_G, LICE_PIXEL_G, P(10, 100, 30, 40)},
      {LICE_PIXEL_B, LICE_PIXEL_R, P(50, 20, 30, 40)},
  };
  for (const Case& c : cases) {
    for (float weight : {1.0f, 0.5f, 0.2f}) {
      LICE_MemBitmap dest(1, 1), src(1, 1);
      *dest.Pixels() = P(10, 20, 30, 40);
      *src.Pixels() = P(200, 100, 50, 255);
      LICE_Composite(&dest, &src, 0, 0, nullptr, weight, LICE_ChannelCopyMode(c.from, c.to));
      EXPECT_EQ(Hex(*dest.Pixels()), Hex(c.expected)) << c.from << "->" << c.to << " " << weight;
    }
  }
}

TEST(CompositeCombiners, WeightsAboveOneCountAsOne)
{
  // Add at 2.0 behaves as at 1.0: 200 + 100 saturates, 10 + 20 = 30.
  LICE_MemBitmap dest(1, 1), src(1, 1);
  *dest.Pixels() = P(200, 10, 0, 100);
  *src.Pixels() = P(100, 20, 5, 100);
  LICE_Composite(&dest, &src, 0, 0, nullptr, 2.0f, CompositeAdd);
  EXPECT_EQ(Hex(*dest.Pixels()), Hex(P(255, 30, 5, 200)));
  EXPECT_EQ(LICE_WeightToInt(2.0f), 256);
  EXPECT_EQ(LICE_WeightToInt(1e30f), 256);
  EXPECT_EQ(LICE_WeightToInt(-0.5f), 0);
  EXPECT_EQ(LICE_WeightToInt(0.999f), 255);  // 255.744 truncated
  EXPECT_EQ(LICE_WeightToInt(0.5f), 128);
}

// The combiners are also called directly (glyph drawing), with this order of
// arguments: destination, red, green, blue, alpha, weight.
TEST(CompositeCombiners, DirectCallsTakeRedGreenBlueAlphaWeight)
{
  LICE_Color32 d = P(200, 10, 0, 100);
  LICE_AddCombine(&d, 100, 20, 255, 255, 128);
  EXPECT_EQ(Hex(d), Hex(P(250, 20, 127, 227)));

  d = P(200, 100, 0, 255);
  LICE_CopyCombine(&d, 0, 50, 255, 0, 0);
  EXPECT_EQ(Hex(d), Hex(P(200, 100, 0, 255))) << "copy at k 0 draws nothing";

  // An alpha argument of 256 (area fills at full weight) is written as 255.
  d = P(80, 80, 80, 0);
  LICE_HSVAdjustCombine(&d, 128, 128, 128, 256, 256);
  EXPECT_EQ(Hex(d), Hex(P(80, 80, 80, 255)));
}

TEST(CompositeCombiners, ReciprocalTableMatchesItsDefinition)
{
  using lice_detail::kReciprocal;
  EXPECT_EQ(kReciprocal[0], 0);
  EXPECT_EQ(kReciprocal[1], 65535);
  EXPECT_EQ(kReciprocal[2], 32767);
  EXPECT_EQ(kReciprocal[3], 21844);
  EXPECT_EQ(kReciprocal[150], 435);
  EXPECT_EQ(kReciprocal[200], 326);
  EXPECT_EQ(kReciprocal[255], 256);
}

}  // namespace
