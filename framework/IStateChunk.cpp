#include "framework/IStateChunk.h"

#include <climits>
#include <cstring>
#include <new>

bool IStateChunk::Reserve(std::size_t bytes)
{
  if (bytes <= mBytes.capacity()) return true;
  const std::size_t granules = (bytes + kGranule - 1) / kGranule;
  try
  {
    mBytes.reserve(granules * kGranule);
  }
  catch (const std::bad_alloc&)
  {
    return false;
  }
  return true;
}

bool IStateChunk::Resize(int size)
{
  if (size < 0 || !Reserve(static_cast<std::size_t>(size))) return false;
  mBytes.resize(static_cast<std::size_t>(size), 0);
  return true;
}

int IStateChunk::Append(const void* data, int bytes)
{
  if (bytes < 0 || (bytes > 0 && !data) || Size() > INT_MAX - bytes) return -1;
  const std::size_t oldSize = mBytes.size();
  if (!Reserve(oldSize + static_cast<std::size_t>(bytes))) return -1;
  const uint8_t* src = static_cast<const uint8_t*>(data);
  mBytes.insert(mBytes.end(), src, src + bytes);
  return Size();
}

int IStateChunk::AppendDouble(double value)
{
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  uint8_t bytes[8];
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
  return Append(bytes, 8);
}

int IStateChunk::Read(void* out, int bytes, int pos) const
{
  if (pos < 0 || bytes < 0 || pos > Size() || Size() - pos < bytes || (bytes > 0 && !out))
    return -1;
  if (bytes > 0) std::memcpy(out, mBytes.data() + pos, static_cast<std::size_t>(bytes));
  return pos + bytes;
}

int IStateChunk::ReadDouble(double* value, int pos) const
{
  uint8_t bytes[8];
  const int next = Read(bytes, 8, pos);
  if (next < 0) return -1;
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(bytes[i]) << (8 * i);
  std::memcpy(value, &bits, sizeof bits);
  return next;
}
