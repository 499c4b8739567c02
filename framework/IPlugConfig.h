#pragma once

#include <cstdint>

// Interface codes: which plug-in API the object is serving.
enum EApi
{
  kApiNone = 0,
  kApiVST3 = 1,
};

// The fixed identity and shape of a plug-in, handed to IPlugBase at construction.
struct IPlugConfig
{
  int nParams = 0;
  int nPresets = 0;
  const char* channelIO = "";   // e.g. "1-1 2-2"
  const char* effectName = "";
  const char* productName = "";
  const char* mfrName = "";
  int32_t uniqueID = 0;         // four-character code
  int32_t mfrID = 0;            // four-character code
  int32_t vendorVersion = 0;    // 0xVVVVMMmm: version, major, minor
  int apiCode = kApiNone;
};

// What the module factory hands to each new plug-in instance: the module
// handle through which the editor reaches the module's resources.
struct IPlugInstanceInfo
{
  void* moduleHandle = nullptr;
};
