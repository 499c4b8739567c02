#include "vst3/module/ModuleState.h"

#include <atomic>

namespace {

std::atomic<void*> gModuleHandle{nullptr};
constexpr int kDirectorySize = 260;
char16_t gModuleDirectory[kDirectorySize + 1] = {};

}  // namespace

void* ModuleHandle()
{
  return gModuleHandle.load();
}

void SetModuleHandle(void* handle)
{
  gModuleHandle.store(handle);
}

const char16_t* ModuleDirectory()
{
  return gModuleDirectory;
}

void SetModuleDirectory(const char16_t* directory)
{
  int i = 0;
  for (; directory && directory[i] && i < kDirectorySize; ++i)
    gModuleDirectory[i] = directory[i];
  gModuleDirectory[i] = 0;
}

std::mutex& ModuleLock()
{
  // Created on first use, destroyed when the module unloads.
  static std::mutex lock;
  return lock;
}
