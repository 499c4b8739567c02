#include "framework/IBypassDelay.h"

#include <algorithm>
#include <cstring>

IBypassDelay::IBypassDelay(int inputs, int outputs, int length)
  : mInputs(std::max(inputs, 0)), mOutputs(std::max(outputs, 0))
{
  SetLength(length);
}

void IBypassDelay::SetLength(int length)
{
  mLength = std::max(length, 0);
  mWritePos = 0;
  mBuffer.assign(static_cast<std::size_t>(mLength) * static_cast<std::size_t>(mInputs), 0.0);
}

void IBypassDelay::Process(double* const* inputs, double* const* outputs, int frames)
{
  if (frames <= 0 || !outputs) return;
  if (mLength == 0 || !inputs)
  {
    CopyInputsToOutputs(inputs, inputs ? mInputs : 0, outputs, mOutputs, frames);
    return;
  }
  const int delayed = std::min(mInputs, mOutputs);
  for (int c = 0; c < delayed; ++c)
  {
    double* out = outputs[c];
    if (!out) continue;
    const double* in = inputs[c];
    double* ring = mBuffer.data() + static_cast<std::size_t>(c) * mLength;
    int pos = mWritePos;
    for (int i = 0; i < frames; ++i)
    {
      const double x = in ? in[i] : 0.0;
      out[i] = ring[pos];
      ring[pos] = x;
      if (++pos == mLength) pos = 0;
    }
  }
  for (int c = delayed; c < mOutputs; ++c)
  {
    if (outputs[c]) std::memset(outputs[c], 0, sizeof(double) * static_cast<std::size_t>(frames));
  }
  mWritePos = static_cast<int>((mWritePos + static_cast<long long>(frames)) % mLength);
}

void CopyInputsToOutputs(double* const* inputs, int nInputs, double* const* outputs, int nOutputs,
                         int frames)
{
  if (frames <= 0 || !outputs) return;
  const std::size_t bytes = sizeof(double) * static_cast<std::size_t>(frames);
  for (int c = 0; c < nOutputs; ++c)
  {
    double* out = outputs[c];
    if (!out) continue;
    const double* in = (inputs && c < nInputs) ? inputs[c] : nullptr;
    if (!in)
      std::memset(out, 0, bytes);
    else if (in != out)
      std::memmove(out, in, bytes);
  }
}
