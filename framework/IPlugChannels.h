#pragma once

#include <vector>

// One legal pairing of input and output channel counts.
struct IChannelIO
{
  int inputs = 0;
  int outputs = 0;
};

// An input channel of the plug-in. `slot` is its place in the base's input
// pointer array; a channel that is not connected reads its own scratch.
struct IInputChannel
{
  bool connected = false;
  int slot = 0;
  std::vector<double> scratch;
};

// An output channel. With 32-bit host samples the engine writes the scratch
// and the adapter converts it into `destination` afterwards.
struct IOutputChannel
{
  bool connected = false;
  int slot = 0;
  float* destination = nullptr;
  std::vector<double> scratch;
};

// Parses a channel configuration such as "1-1 2-2": pairs "in-out" separated
// by blanks; a missing or negative number reads as 0.
std::vector<IChannelIO> ParseChannelIO(const char* text);
