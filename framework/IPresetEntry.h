#pragma once

#include "framework/FixedText.h"
#include "framework/IStateChunk.h"

// One preset: a name and the serialized parameter values it restores.
class IPresetEntry
{
public:
  static constexpr int kNameSize = 256;

  explicit IPresetEntry(const char* name = "empty") { SetName(name); }

  bool IsInitialised() const { return mInitialised; }
  void SetInitialised(bool initialised) { mInitialised = initialised; }
  const char* Name() const { return mName; }
  void SetName(const char* name) { CopyFixedText(mName, name); }
  IStateChunk& Chunk() { return mChunk; }
  const IStateChunk& Chunk() const { return mChunk; }

private:
  bool mInitialised = false;
  char mName[kNameSize] = {};
  IStateChunk mChunk;
};
