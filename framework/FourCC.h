#pragma once

#include <cstdint>

// A four-character code as a 32-bit integer, first character in the most
// significant byte: FourCC("Mvx1") == 0x4D767831.
constexpr int32_t FourCC(const char (&code)[5])
{
  return static_cast<int32_t>((static_cast<uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
                              (static_cast<uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
                              (static_cast<uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
                              static_cast<uint32_t>(static_cast<unsigned char>(code[3])));
}
