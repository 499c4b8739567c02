#include "tools/host/VstModule.h"

#include <filesystem>

#include <windows.h>

namespace host {

namespace {
using InitDllProc = bool(PLUGIN_API*)();
using ExitDllProc = bool(PLUGIN_API*)();
}  // namespace

bool VstModule::open(std::string& error)
{
  const std::wstring widePath = std::filesystem::path(mBinaryPath).wstring();
  HMODULE module = LoadLibraryW(widePath.c_str());
  if (!module)
  {
    error = "cannot load " + mBinaryPath + " (Windows error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  mHandle = reinterpret_cast<void*>(module);
  // InitDll is optional for a Windows module; when present it must succeed.
  if (auto init = reinterpret_cast<InitDllProc>(symbol("InitDll")))
  {
    if (!init())
    {
      error = "InitDll of " + mBinaryPath + " failed";
      close();
      return false;
    }
  }
  mEntered = true;
  return true;
}

void VstModule::close()
{
  if (mEntered)
    if (auto exitProc = reinterpret_cast<ExitDllProc>(symbol("ExitDll")))
      exitProc();
  mEntered = false;
  if (mHandle)
    FreeLibrary(reinterpret_cast<HMODULE>(mHandle));
  mHandle = nullptr;
}

void* VstModule::symbol(const char* name) const
{
  if (!mHandle)
    return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(mHandle), name));
}

}  // namespace host
