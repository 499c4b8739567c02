#include "raster/LICE_PNGRows.h"

#include "raster/LICE_PNGDecode.h"

#include <csetjmp>
#include <cstring>

std::unique_ptr<LICE_PNGRows> LICE_PNGRows::Open(const void* data, int length)
{
  std::unique_ptr<LICE_PNGRows> rows(new LICE_PNGRows);
  if (!rows->Start(data, length)) return nullptr;
  return rows;
}

std::unique_ptr<LICE_PNGRows> LICE_PNGRows::Open(std::vector<unsigned char> bytes)
{
  std::unique_ptr<LICE_PNGRows> rows(new LICE_PNGRows);
  rows->mBytes = std::move(bytes);
  if (rows->mBytes.size() > 0x7FFFFFFF) return nullptr;
  if (!rows->Start(rows->mBytes.data(), int(rows->mBytes.size()))) return nullptr;
  return rows;
}

LICE_PNGRows::~LICE_PNGRows()
{
  Finish();
}

void LICE_PNGRows::Finish()
{
  if (mPng) png_destroy_read_struct(&mPng, &mInfo, nullptr);
  mPng = nullptr;
  mInfo = nullptr;
  // The compressed bytes are no longer needed once every row is out.
  std::vector<unsigned char>().swap(mBytes);
}

namespace {

// libpng's longjmp lands in the frame that set it, which holds nothing with
// a destructor; whatever it made stays reachable from the object.
bool ReadHeader(png_structp png, png_infop info, int& width, int& height)
{
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  png_uint_32 w = 0, h = 0;
  int bitDepth = 0, colorType = 0, interlace = 0;
  png_get_IHDR(png, info, &w, &h, &bitDepth, &colorType, &interlace, nullptr, nullptr);
  // Interlaced rows arrive in passes, not top to bottom.
  if (interlace != PNG_INTERLACE_NONE) return false;
  LICE_PngRequestPixelOutput(png, info, bitDepth, colorType);
  png_read_update_info(png, info);
  width = int(w);
  height = int(h);
  return true;
}

bool ReadRows(png_structp png, LICE_MemBitmap& bitmap, int from, int to)
{
  if (setjmp(png_jmpbuf(png))) return false;
  for (int y = from; y < to; ++y) {
    unsigned char* row = reinterpret_cast<unsigned char*>(bitmap.Pixels() + std::ptrdiff_t(y) * bitmap.RowSpan());
    png_read_row(png, row, nullptr);
    if (!kLicePngBgraIsWord) LICE_PngArgbRowToPixels(row, bitmap.Width());
  }
  return true;
}

}  // namespace

bool LICE_PNGRows::Start(const void* data, int length)
{
  if (!data || length < 8 || std::memcmp(data, kLicePngSignature, 8) != 0) return false;
  mReader.reset(new LICE_PngMemoryReader{static_cast<const unsigned char*>(data), length});
  mPng = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!mPng) return false;
  mInfo = png_create_info_struct(mPng);
  if (!mInfo) return false;
  png_set_read_fn(mPng, mReader.get(), LICE_PngReadFromMemory);
  int width = 0, height = 0;
  if (!ReadHeader(mPng, mInfo, width, height) || width <= 0 || height <= 0) return false;
  mBitmap.Resize(width, height);
  return mBitmap.Width() == width && mBitmap.Height() == height && mBitmap.Pixels();
}

bool LICE_PNGRows::DecodeTo(int rows)
{
  if (rows > Height()) rows = Height();
  if (RowsDone() >= rows) return true;
  std::lock_guard<std::mutex> lock(mLock);
  const int done = RowsDone();
  if (done >= rows) return true;
  if (mFailed || !mPng) return false;
  if (!ReadRows(mPng, mBitmap, done, rows)) {
    mFailed = true;
    Finish();
    return false;
  }
  mRowsDone.store(rows, std::memory_order_release);
  if (rows == Height()) Finish();
  return true;
}
