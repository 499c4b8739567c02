#pragma once

#include "pluginterfaces/vst/vstspeaker.h"

// The speaker arrangement the plug-in announces for a channel count.
inline Steinberg::Vst::SpeakerArrangement ArrangementForChannels(int channels)
{
  using namespace Steinberg::Vst::SpeakerArr;
  switch (channels)
  {
  case 1: return kMono;
  case 2: return kStereo;
  case 3: return k30Cine;
  case 4: return k40Music;
  case 5: return k50;
  case 6: return k51;
  default: return kEmpty;
  }
}
