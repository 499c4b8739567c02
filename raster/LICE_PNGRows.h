#pragma once
// A PNG decoded a few rows at a time, as they are first wanted: a tall strip
// of frames costs only the frames shown so far. Pixels come out as
// LICE_ReadPNGMemory gives them.

#include "raster/LICE_MemBitmap.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

struct png_struct_def;
struct png_info_def;
struct LICE_PngMemoryReader;

class LICE_PNGRows {
 public:
  // Reads the data in place: it must outlive the object (a module's
  // resources do). Null for no PNG, an interlaced one, a header libpng
  // refuses, or a picture that cannot be allocated.
  static std::unique_ptr<LICE_PNGRows> Open(const void* data, int length);
  // The same from a copy of the bytes that the object keeps.
  static std::unique_ptr<LICE_PNGRows> Open(std::vector<unsigned char> bytes);
  ~LICE_PNGRows();

  LICE_PNGRows(const LICE_PNGRows&) = delete;
  LICE_PNGRows& operator=(const LICE_PNGRows&) = delete;

  int Width() const { return mBitmap.Width(); }
  int Height() const { return mBitmap.Height(); }
  // Decodes until the first `rows` rows are there (at most all of them).
  // False when the data fails before that; the rows done so far stay good.
  // Callers on several threads may ask at once.
  bool DecodeTo(int rows);
  int RowsDone() const { return mRowsDone.load(std::memory_order_acquire); }
  // The picture; rows from RowsDone() on are not decoded yet.
  LICE_MemBitmap* Bitmap() { return &mBitmap; }

 private:
  LICE_PNGRows() = default;
  bool Start(const void* data, int length);
  bool DecodeRows(int rows);
  void Finish();

  std::vector<unsigned char> mBytes;
  std::unique_ptr<LICE_PngMemoryReader> mReader;  // libpng's cursor in the bytes
  png_struct_def* mPng = nullptr;
  png_info_def* mInfo = nullptr;
  LICE_MemBitmap mBitmap;
  std::mutex mLock;
  std::atomic<int> mRowsDone{0};
  bool mFailed = false;
};
