#pragma once

#include "pluginterfaces/base/ibstream.h"

#include <vector>

// A host stream over a byte vector. It delivers at most `chunk` bytes per
// read and, like some hosts' file streams, answers a read at its end with
// kResultFalse.
class ByteStream : public Steinberg::IBStream
{
public:
  explicit ByteStream(std::vector<char> bytes = {}, int chunk = 1 << 30)
  : mBytes(std::move(bytes)), mChunk(chunk)
  {
  }
  virtual ~ByteStream() = default;

  Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 numBytes,
                                     Steinberg::int32* numBytesRead) override;
  Steinberg::tresult PLUGIN_API write(void* buffer, Steinberg::int32 numBytes,
                                      Steinberg::int32* numBytesWritten) override;
  Steinberg::tresult PLUGIN_API seek(Steinberg::int64 pos, Steinberg::int32 mode,
                                     Steinberg::int64* result) override;
  Steinberg::tresult PLUGIN_API tell(Steinberg::int64* pos) override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override
  {
    *obj = nullptr;
    return Steinberg::kNoInterface;
  }
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

  const std::vector<char>& bytes() const { return mBytes; }

private:
  std::vector<char> mBytes;
  int mChunk;
  size_t mPos = 0;
};
