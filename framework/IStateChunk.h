#pragma once

#include <cstdint>
#include <vector>

// A growable byte buffer for serialized state: append at the end, read at a
// position. Doubles travel as 8-byte little-endian IEEE 754 values.
class IStateChunk
{
public:
  static constexpr int kGranule = 4096;  // storage grows in whole granules

  int Size() const { return static_cast<int>(mBytes.size()); }
  const uint8_t* Data() const { return mBytes.data(); }
  uint8_t* Data() { return mBytes.data(); }

  // Appends bytes and returns the new size, or -1 (leaving the chunk as it
  // was) when the size would no longer fit or storage cannot be had.
  int Append(const void* data, int bytes);
  int AppendDouble(double value);

  // Reads bytes at pos and returns the position after them, or -1 when pos
  // is negative or fewer than that many bytes remain (out is then untouched).
  int Read(void* out, int bytes, int pos) const;
  int ReadDouble(double* value, int pos) const;

  // Sets the size; new bytes are zero.
  bool Resize(int size);
  void Clear() { mBytes.clear(); }

private:
  bool Reserve(std::size_t bytes);

  std::vector<uint8_t> mBytes;
};
