#include "framework/HostCodes.h"

#include <cctype>
#include <string>

namespace
{
struct HostKey
{
  const char* key;
  int code;
};

// Tested in this order: the first key found in the name wins.
const HostKey kHostKeys[] = {
  {"cubase", kHostCubase},
  {"reaper", kHostReaper},
  {"nuendo", kHostNuendo},
  {"cakewalk", kHostCakewalk},
  {"samplitude", kHostSamplitude},
  {"fruity", kHostFruity},
  {"live", kHostLive},
  {"melodyne", kHostMelodyne},
  {"vstmanlib", kHostVstManLib},
  {"aulab", kHostAULab},
  {"garageband", kHostGarageBand},
  {"forte", kHostForte},
  {"chainer", kHostChainer},
  {"audition", kHostAudition},
  {"orion", kHostOrion},
  {"sawstudio", kHostSawStudio},
  {"logic", kHostLogic},
  {"digital", kHostDigital},
  {"audiomulch", kHostAudioMulch},
  {"presonus", kHostPreSonus},
  {"vst3plugintesthost", kHostVst3TestHost},
  {"protools", kHostProTools},
  {"ardour", kHostArdour},
  {"openmpt", kHostOpenMPT},
  {"renoise", kHostRenoise},
  {"standalone", kHostStandalone},
};
}  // namespace

int HostCodeForName(const char* name)
{
  if (!name) return kHostUnknown;
  std::string lower(name);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const HostKey& host : kHostKeys)
  {
    if (lower.find(host.key) != std::string::npos) return host.code;
  }
  return kHostUnknown;
}
