#include "raster/LICE_PNG.h"

#include "raster/LICE_FileOpen.h"
#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNGDecode.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

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
  LICE_PngRequestArgbOutput(job->png, job->info, bitDepth, colorType);

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

void ArgbBytesToPixels(const PngDecodeJob& job)
{
  for (int y = 0; y < job.height; ++y) LICE_PngArgbRowToPixels(job.rows[y], job.width);
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
  if (!data || length < 8 || std::memcmp(data, kLicePngSignature, 8) != 0) return nullptr;

  PngDecodeJob job;
  if (!StartDecode(&job)) return nullptr;
  LICE_PngMemoryReader reader = {static_cast<const unsigned char*>(data), length};
  png_set_read_fn(job.png, &reader, LICE_PngReadFromMemory);
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
