// The third-party libraries link and work with this toolchain: libpng with zlib
// round-trips a tiny picture, and the VST 3 SDK's memory stream and FUID behave.
#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>

#include <cstring>
#include <vector>

#include "base/source/fobject.h"
#include "public.sdk/source/common/memorystream.h"

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t size)
{
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

struct Reader {
  const std::vector<unsigned char>* bytes;
  size_t pos;
};

void readBytes(png_structp png, png_bytep data, png_size_t size)
{
  auto* r = static_cast<Reader*>(png_get_io_ptr(png));
  if (r->pos + size > r->bytes->size()) png_error(png, "short read");
  std::memcpy(data, r->bytes->data() + r->pos, size);
  r->pos += size;
}

}  // namespace

TEST(Dependencies, ZlibRoundTrip)
{
  const char text[] = "morvex morvex morvex morvex";
  unsigned char packed[128];
  uLongf packedSize = sizeof(packed);
  ASSERT_EQ(compress(packed, &packedSize, reinterpret_cast<const Bytef*>(text), sizeof(text)), Z_OK);
  char back[sizeof(text)] = {};
  uLongf backSize = sizeof(back);
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(back), &backSize, packed, packedSize), Z_OK);
  EXPECT_STREQ(back, text);
}

TEST(Dependencies, LibpngEncodesAndDecodesATinyPicture)
{
  EXPECT_EQ(PNG_LIBPNG_VER_MAJOR, 1);
  EXPECT_EQ(PNG_LIBPNG_VER_MINOR, 6);

  const unsigned char pixels[2][2 * 4] = {{255, 0, 0, 255, 0, 255, 0, 128},
                                          {0, 0, 255, 0, 10, 20, 30, 40}};
  std::vector<unsigned char> file;
  {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    ASSERT_EQ(setjmp(png_jmpbuf(png)), 0);
    png_set_write_fn(png, &file, appendBytes, nullptr);
    png_set_IHDR(png, info, 2, 2, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (auto& row : pixels) png_write_row(png, row);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
  }
  ASSERT_GT(file.size(), 8u);
  EXPECT_EQ(png_sig_cmp(file.data(), 0, 8), 0);

  unsigned char decoded[2][2 * 4] = {};
  Reader reader{&file, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  ASSERT_EQ(setjmp(png_jmpbuf(png)), 0);
  png_set_read_fn(png, &reader, readBytes);
  png_read_info(png, info);
  EXPECT_EQ(png_get_image_width(png, info), 2u);
  EXPECT_EQ(png_get_image_height(png, info), 2u);
  for (auto& row : decoded) png_read_row(png, row, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  EXPECT_EQ(std::memcmp(decoded, pixels, sizeof(pixels)), 0);
}

TEST(Dependencies, Vst3SdkMemoryStreamAndClassIds)
{
  Steinberg::MemoryStream stream;
  const double value = -6.5;
  Steinberg::int32 written = 0;
  ASSERT_EQ(stream.write(const_cast<double*>(&value), sizeof(value), &written), Steinberg::kResultOk);
  EXPECT_EQ(written, 8);
  Steinberg::int64 pos = -1;
  stream.seek(0, Steinberg::IBStream::kIBSeekSet, &pos);
  double back = 0;
  Steinberg::int32 read = 0;
  ASSERT_EQ(stream.read(&back, sizeof(back), &read), Steinberg::kResultOk);
  EXPECT_EQ(read, 8);
  EXPECT_EQ(back, value);

  Steinberg::FUID id(0x12345678, 0x9ABCDEF0, 0x0F1E2D3C, 0x4B5A6978);
  char text[40] = {};
  id.toString(text);
  EXPECT_STREQ(text, "123456789ABCDEF00F1E2D3C4B5A6978");
}
