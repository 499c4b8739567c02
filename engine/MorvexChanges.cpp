// How the engine hears about parameter changes and resets. Both run under the
// plug-in lock so a block never sees a half-updated mirror.
#include "engine/Morvex.h"

void Morvex::ParameterChanged(int paramIdx)
{
  Guard guard(GetMutex());
  // Only the continuous controls are mirrored; the switches are read live by
  // the audio path, and slot 14 means nothing.
  if (paramIdx >= 0 && paramIdx < kNumMirrored) mMirror[paramIdx] = GetParam(paramIdx)->Value();
}

void Morvex::ResetProcessing()
{
  Guard guard(GetMutex());
  // Only the low-pass forgets its past; every other section and smoother runs on.
  mLeft.lowpass.clear();
  mRight.lowpass.clear();
}
