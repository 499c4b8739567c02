#include "framework/HostCodes.h"
#include "framework/IPlugBase.h"

#include <gtest/gtest.h>

TEST(HostCodes, EveryKnownHostIsRecognisedInAnyCase)
{
  const struct { const char* name; int code; } hosts[] = {
    {"Cubase Pro 10", 3}, {"REAPER", 1}, {"Nuendo", 4}, {"Cakewalk by BandLab", 5},
    {"Samplitude Pro X", 8}, {"Fruity Wrapper", 7}, {"Ableton Live", 9}, {"Melodyne", 12},
    {"VstManLib", 13}, {"AU Lab", 0}, {"AULab", 14}, {"GarageBand", 22}, {"Forte 4", 15},
    {"Chainer", 16}, {"Adobe Audition", 17}, {"Orion", 18}, {"SAWStudio64", 20},
    {"Logic Pro", 21}, {"Digital Performer", 23}, {"AudioMulch", 25},
    {"PreSonus Studio One", 26}, {"VST3PluginTestHost", 27}, {"ProTools", 2},
    {"Pro Tools", 0}, {"Ardour", 28}, {"OpenMPT", 30}, {"Renoise", 29},
    {"Standalone", 24},
  };
  for (const auto& h : hosts) EXPECT_EQ(HostCodeForName(h.name), h.code) << h.name;
}

TEST(HostCodes, TheFirstKeyInTableOrderWins)
{
  const struct { const char* name; int code; } hosts[] = {
    {"Nuendo with Cubase engine", 3},  // "cubase" before "nuendo"
    {"Reaper Live", 1},                // "reaper" before "live"
    {"Live Renoise", 9},               // "live" before "renoise"
    {"Standalone Ardour", 28},         // "ardour" before "standalone"
    {"Renoise OpenMPT", 30},           // "openmpt" before "renoise", against code order
    {"Digital Logic", 21},             // "logic" before "digital"
    {"GarageBand Forte", 22},          // "garageband" before "forte"
    {"Cubase via VST3PluginTestHost", 3},
  };
  for (const auto& h : hosts) EXPECT_EQ(HostCodeForName(h.name), h.code) << h.name;
}

TEST(HostCodes, UnknownEmptyAndNullNamesGiveZero)
{
  EXPECT_EQ(HostCodeForName("Some Other DAW"), 0);
  EXPECT_EQ(HostCodeForName(""), 0);
  EXPECT_EQ(HostCodeForName(nullptr), 0);
}

TEST(HostCodes, IdentifyHostStoresTheCodeWithVersionZero)
{
  IPlugConfig config;
  config.channelIO = "2-2";
  IPlugBase plug(config);
  EXPECT_EQ(plug.HostCode(), -1);
  EXPECT_EQ(plug.IdentifyHost("Steinberg Nuendo"), 4);
  EXPECT_EQ(plug.HostCode(), 4);
  EXPECT_EQ(plug.HostVersion(), 0);
  EXPECT_EQ(plug.IdentifyHost(""), 0);
  EXPECT_EQ(plug.HostCode(), 0);
}
