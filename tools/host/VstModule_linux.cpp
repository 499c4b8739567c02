#include "tools/host/VstModule.h"

#include <dlfcn.h>

namespace host {

namespace {
using ModuleEntryProc = bool (*)(void*);
using ModuleExitProc = bool (*)();
}  // namespace

bool VstModule::open(std::string& error)
{
  mHandle = dlopen(mBinaryPath.c_str(), RTLD_LAZY | RTLD_LOCAL);
  if (!mHandle)
  {
    const char* why = dlerror();
    error = "cannot load " + mBinaryPath + ": " + (why ? why : "unknown error");
    return false;
  }
  auto entry = reinterpret_cast<ModuleEntryProc>(symbol("ModuleEntry"));
  if (!entry)
  {
    error = mBinaryPath + " has no ModuleEntry: not a VST 3 module";
    close();
    return false;
  }
  if (!entry(mHandle))
  {
    error = "ModuleEntry of " + mBinaryPath + " failed";
    close();
    return false;
  }
  mEntered = true;
  return true;
}

void VstModule::close()
{
  if (mEntered)
    if (auto exitProc = reinterpret_cast<ModuleExitProc>(symbol("ModuleExit")))
      exitProc();
  mEntered = false;
  if (mHandle)
    dlclose(mHandle);
  mHandle = nullptr;
}

void* VstModule::symbol(const char* name) const
{
  return mHandle ? dlsym(mHandle, name) : nullptr;
}

}  // namespace host
