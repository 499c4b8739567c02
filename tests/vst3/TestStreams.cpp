#include "tests/vst3/TestStreams.h"

#include <algorithm>
#include <cstring>

using namespace Steinberg;

tresult PLUGIN_API ByteStream::read(void* buffer, int32 numBytes, int32* numBytesRead)
{
  const size_t left = mBytes.size() - mPos;
  const size_t n = std::min({left, static_cast<size_t>(std::max(numBytes, 0)),
                             static_cast<size_t>(mChunk)});
  if (n > 0)
    std::memcpy(buffer, mBytes.data() + mPos, n);
  mPos += n;
  if (numBytesRead)
    *numBytesRead = static_cast<int32>(n);
  return n > 0 || numBytes == 0 ? kResultOk : kResultFalse;
}

tresult PLUGIN_API ByteStream::write(void* buffer, int32 numBytes, int32* numBytesWritten)
{
  const char* p = static_cast<const char*>(buffer);
  mBytes.insert(mBytes.end(), p, p + numBytes);
  if (numBytesWritten)
    *numBytesWritten = numBytes;
  return kResultOk;
}

tresult PLUGIN_API ByteStream::seek(int64 pos, int32 mode, int64* result)
{
  const int64 base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? static_cast<int64>(mPos)
                                                                 : static_cast<int64>(mBytes.size());
  const int64 target = std::clamp<int64>(base + pos, 0, static_cast<int64>(mBytes.size()));
  mPos = static_cast<size_t>(target);
  if (result)
    *result = target;
  return kResultOk;
}

tresult PLUGIN_API ByteStream::tell(int64* pos)
{
  if (pos)
    *pos = static_cast<int64>(mPos);
  return kResultOk;
}
