#pragma once

#include <vector>

// The pass-through used while the host bypasses the plug-in: input channels
// reach their outputs delayed by the plug-in's latency, so a bypassed track
// stays aligned with the processed one.
class IBypassDelay
{
public:
  IBypassDelay(int inputs, int outputs, int length);

  int Length() const { return mLength; }
  // Resizes the ring to length samples per channel and clears it.
  void SetLength(int length);

  // Channel i < min(inputs, outputs) goes to output i, delayed by Length()
  // samples; other outputs are zeroed. Null channel pointers are skipped
  // (a null input reads as silence). In-place buffers are fine.
  void Process(double* const* inputs, double* const* outputs, int frames);

private:
  int mInputs;
  int mOutputs;
  int mLength = 0;
  int mWritePos = 0;
  std::vector<double> mBuffer;  // mLength samples per input channel, channel after channel
};

// Copies input i to output i for every i below both counts and zeroes the
// remaining outputs; null pointers are skipped, a null input reads as silence.
void CopyInputsToOutputs(double* const* inputs, int nInputs, double* const* outputs, int nOutputs,
                         int frames);
