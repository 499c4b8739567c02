// LICE_SysBitmap under GDI: a DIB section selected into the bitmap's own memory
// DC, top row first, in GDI's byte order, kept when shrinking.
#include "raster/LICE_Composite.h"
#include "raster/LICE_SysBitmap.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

HBITMAP SelectedBitmap(const LICE_SysBitmap& bitmap)
{
  return static_cast<HBITMAP>(GetCurrentObject(bitmap.DeviceContext(), OBJ_BITMAP));
}

TEST(SysBitmapGdi, OwnsAMemoryDcWithTheSectionSelected)
{
  LICE_SysBitmap bitmap(100, 50);
  ASSERT_NE(bitmap.DeviceContext(), nullptr);
  DIBSECTION section = {};
  ASSERT_EQ(GetObject(SelectedBitmap(bitmap), sizeof section, &section), int(sizeof section));
  EXPECT_EQ(section.dsBm.bmWidth, 100);
  EXPECT_EQ(section.dsBm.bmHeight, 50);
  EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
  EXPECT_EQ(section.dsBm.bmBits, bitmap.Pixels());
}

TEST(SysBitmapGdi, GdiDrawsTopRowFirstInPixelByteOrder)
{
  LICE_SysBitmap bitmap(6, 4);  // span 8
  LICE_FillArea(&bitmap, 0, 0, 6, 4, 0, 1.0f, CompositeCopy);
  SetPixel(bitmap.DeviceContext(), 3, 2, RGB(0x11, 0x22, 0x33));
  GdiFlush();
  EXPECT_EQ(bitmap.Pixels()[2 * 8 + 3] & 0xFFFFFF, 0x112233u);
  EXPECT_EQ(bitmap.Pixels()[1 * 8 + 3] & 0xFFFFFF, 0u);
}

TEST(SysBitmapGdi, GdiReadsWhatCompositingWrote)
{
  LICE_SysBitmap bitmap(5, 5);
  LICE_FillArea(&bitmap, 0, 0, 5, 5, 0, 1.0f, CompositeCopy);
  LICE_FillArea(&bitmap, 1, 3, 1, 1, LICE_RGBA(0xAB, 0xCD, 0xEF, 255), 1.0f, CompositeCopy);
  GdiFlush();
  EXPECT_EQ(GetPixel(bitmap.DeviceContext(), 1, 3), RGB(0xAB, 0xCD, 0xEF));
  EXPECT_EQ(GetPixel(bitmap.DeviceContext(), 3, 1), RGB(0, 0, 0));
}

TEST(SysBitmapGdi, ShrinkingKeepsTheDibSection)
{
  LICE_SysBitmap bitmap(100, 50);
  const HBITMAP before = SelectedBitmap(bitmap);
  LICE_Color32* const pixels = bitmap.Pixels();
  EXPECT_TRUE(bitmap.Resize(30, 20));
  EXPECT_EQ(SelectedBitmap(bitmap), before);
  EXPECT_EQ(bitmap.Pixels(), pixels);
  EXPECT_EQ(bitmap.RowSpan(), 100);
  DIBSECTION section = {};
  ASSERT_EQ(GetObject(SelectedBitmap(bitmap), sizeof section, &section), int(sizeof section));
  EXPECT_EQ(section.dsBm.bmWidth, 100);
  EXPECT_EQ(section.dsBm.bmHeight, 50);
}

TEST(SysBitmapGdi, GrowingSelectsANewSection)
{
  LICE_SysBitmap bitmap(30, 20);
  EXPECT_TRUE(bitmap.Resize(101, 51));
  DIBSECTION section = {};
  ASSERT_EQ(GetObject(SelectedBitmap(bitmap), sizeof section, &section), int(sizeof section));
  EXPECT_EQ(section.dsBm.bmWidth, 104);
  EXPECT_EQ(section.dsBm.bmHeight, 51);
  EXPECT_EQ(section.dsBm.bmBits, bitmap.Pixels());
}

TEST(SysBitmapGdi, AnEmptySizePutsTheDisplacedBitmapBack)
{
  LICE_SysBitmap bitmap(8, 8);
  EXPECT_FALSE(bitmap.Resize(0, 0));
  // A fresh memory DC holds GDI's 1 x 1 stock bitmap.
  BITMAP stock = {};
  ASSERT_NE(GetObject(SelectedBitmap(bitmap), sizeof stock, &stock), 0);
  EXPECT_EQ(stock.bmWidth, 1);
  EXPECT_EQ(stock.bmHeight, 1);
  EXPECT_EQ(bitmap.Pixels(), nullptr);
}

}  // namespace
