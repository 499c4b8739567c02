#include "raster/LICE_PNG.h"

#include "raster/LICE_FileOpen.h"
#include "raster/LICE_MemBitmap.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

struct PngMemoryReader {
  const unsigned char* next;
  int remaining;
};

// A request reaching past the end is an error, as a short read from a file is:
// handing out zero bytes instead would let a corrupt chunk length make libpng
// skip through up to 2 GB of nothing before it notices.
void ReadFromMemory(png_structp png, png_bytep out, png_size_t count)
{
  PngMemoryReader* reader = static_cast<PngMemoryReader*>(png_get_io_ptr(png));
  std::memset(out, 0, count);
  const png_size_t available = png_size_t(std::max(reader->remaining, 0));
  const png_size_t taken = std::min(count, available);
  if (taken > 0) std::memcpy(out, reader->next, taken);
  reader->next += taken;
  reader->remaining -= int(taken);
  if (taken < count) png_error(png, "PNG data ends early");
}

// Everything one decode holds. It lives in the caller's frame, out of reach of
// libpng's longjmp, and holds nothing with a destructor: cleanup is explicit.
struct PngDecodeJob {
  png_structp png = nullptr;
  png_infop info = nullptr;
  LICE_IBitmap* bitmap = nullptr;  // the caller's destination, or one made here
  bool ownsBitmap = false;
  png_bytepp rows = nullptr;
  int width = 0;
  int height = 0;
};

// Asks libpng for 8-bit A, R, G, B bytes per pixel whatever the stored format.
void RequestArgbOutput(png_structp png, png_infop info, int bitDepth, int colorType)
{
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    colorType |= PNG_COLOR_MASK_ALPHA;
  }
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  if (colorType & PNG_COLOR_MASK_ALPHA) {
    png_set_swap_alpha(png);
  } else {
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
  }
}

// Row addresses top row first; a bottom-up bitmap gets its last stored row as
// image row 0.
void PointRowsAtBitmap(PngDecodeJob* job)
{
  LICE_Color32* pixels = job->bitmap->Pixels();
  const std::ptrdiff_t span = job->bitmap->RowSpan();
  for (int i = 0; i < job->height; ++i) {
    const std::ptrdiff_t row = job->bitmap->IsBottomUp() ? job->height - 1 - i : i;
    job->rows[i] = reinterpret_cast<png_bytep>(pixels + row * span);
  }
}

// Runs libpng from the header to the last row. A libpng error longjmps back to
// the setjmp here, so this frame holds only plain data and leaves all cleanup to
// the caller, who finds in the job whatever was made before the error.
bool DecodeInto(PngDecodeJob* job)
{
  if (setjmp(png_jmpbuf(job->png))) return false;

  png_read_info(job->png, job->info);
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bitDepth = 0;
  int colorType = 0;
  png_get_IHDR(job->png, job->info, &width, &height, &bitDepth, &colorType, nullptr, nullptr,
               nullptr);
  RequestArgbOutput(job->png, job->info, bitDepth, colorType);

  // libpng refuses sizes beyond its user limits (a million pixels per side), so
  // both fit an int.
  job->width = int(width);
  job->height = int(height);
  if (!job->bitmap) {
    job->bitmap = new (std::nothrow) LICE_MemBitmap();
    if (!job->bitmap) return false;
    job->ownsBitmap = true;
  }
  if (job->width > 0 && job->height > 0) job->bitmap->Resize(job->width, job->height);
  if (job->bitmap->Width() != job->width || job->bitmap->Height() != job->height ||
      !job->bitmap->Pixels()) {
    return false;
  }

  job->rows = static_cast<png_bytepp>(std::malloc(sizeof(png_bytep) * size_t(job->height)));
  if (!job->rows) return false;
  PointRowsAtBitmap(job);
  png_read_image(job->png, job->rows);
  return true;
}

// The decoded bytes a, r, g, b of each pixel become the word 0xAARRGGBB.
void ArgbBytesToPixels(const PngDecodeJob& job)
{
  for (int y = 0; y < job.height; ++y) {
    unsigned char* bytes = job.rows[y];
    LICE_Color32* pixels = reinterpret_cast<LICE_Color32*>(bytes);
    for (int x = 0; x < job.width; ++x, bytes += 4) {
      pixels[x] = (LICE_Color32(bytes[0]) << 24) | (LICE_Color32(bytes[1]) << 16) |
                  (LICE_Color32(bytes[2]) << 8) | LICE_Color32(bytes[3]);
    }
  }
}

bool StartDecode(PngDecodeJob* job)
{
  job->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!job->png) return false;
  job->info = png_create_info_struct(job->png);
  if (!job->info) {
    png_destroy_read_struct(&job->png, nullptr, nullptr);
    return false;
  }
  return true;
}

// Destroys the libpng state and the row array; on failure also a bitmap this
// decode made. Gives the bitmap on success.
LICE_IBitmap* FinishDecode(PngDecodeJob* job, bool decoded)
{
  png_destroy_read_struct(&job->png, &job->info, nullptr);
  if (decoded) ArgbBytesToPixels(*job);
  std::free(job->rows);
  job->rows = nullptr;
  if (decoded) return job->bitmap;
  if (job->ownsBitmap) delete job->bitmap;
  job->bitmap = nullptr;
  return nullptr;
}

}  // namespace

LICE_MemBitmap* LICE_ReadPNGMemory(const void* data, int length)
{
  if (!data || length < 8 || std::memcmp(data, kPngSignature, 8) != 0) return nullptr;

  PngDecodeJob job;
  if (!StartDecode(&job)) return nullptr;
  PngMemoryReader reader = {static_cast<const unsigned char*>(data), length};
  png_set_read_fn(job.png, &reader, ReadFromMemory);
  const bool decoded = DecodeInto(&job);
  // The bitmap was made here, so it is a LICE_MemBitmap.
  return static_cast<LICE_MemBitmap*>(FinishDecode(&job, decoded));
}

LICE_IBitmap* LICE_ReadPNGFile(const char* utf8Path, LICE_IBitmap* destination)
{
  std::FILE* file = LICE_OpenFileForReading(utf8Path);
  if (!file) return nullptr;

  PngDecodeJob job;
  job.bitmap = destination;
  LICE_IBitmap* result = nullptr;
  if (StartDecode(&job)) {
    png_init_io(job.png, file);
    const bool decoded = DecodeInto(&job);
    result = FinishDecode(&job, decoded);
  }
  std::fclose(file);
  return result;
}

bool LICE_HasPNGExtension(const char* utf8Path)
{
  if (!utf8Path) return false;
  const size_t length = std::strlen(utf8Path);
  if (length < 4) return false;
  const char* ext = utf8Path + length - 4;
  static const char kLower[] = ".png";
  for (int i = 0; i < 4; ++i) {
    char c = ext[i];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != kLower[i]) return false;
  }
  return true;
}

LICE_IBitmap* LICE_ReadPNGByName(const char* utf8Path, bool checkExtension,
                                 LICE_IBitmap* destination)
{
  if (checkExtension && !LICE_HasPNGExtension(utf8Path)) return nullptr;
  return LICE_ReadPNGFile(utf8Path, destination);
}
