#include "framework/IPlugChannels.h"

#include <climits>
#include <cstdlib>

namespace
{
// Reads a decimal count at p (leading blanks skipped), moving p past it.
int ReadCount(const char*& p)
{
  char* end = nullptr;
  const long n = std::strtol(p, &end, 10);
  if (end == p) return 0;
  p = end;
  if (n < 0) return 0;
  return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}
}  // namespace

std::vector<IChannelIO> ParseChannelIO(const char* text)
{
  std::vector<IChannelIO> list;
  const char* p = text ? text : "";
  while (*p == ' ') ++p;
  while (*p)
  {
    IChannelIO io;
    io.inputs = ReadCount(p);
    if (*p == '-')
    {
      ++p;
      io.outputs = ReadCount(p);
    }
    list.push_back(io);
    // Continue after the next blank, skipping any run of blanks.
    while (*p && *p != ' ') ++p;
    while (*p == ' ') ++p;
  }
  return list;
}
