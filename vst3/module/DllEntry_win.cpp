// Entry points of the Windows DLL: the loader's DllMain, then InitDll and
// ExitDll, which a host calls after loading and before unloading.
#include "vst3/module/ModuleState.h"

#include <windows.h>

namespace {

HINSTANCE gInstance = nullptr;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
  if (reason == DLL_PROCESS_ATTACH)
  {
    gInstance = instance;
    // The folder of the module's own file: its full path cut after the last backslash.
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
    char16_t directory[MAX_PATH + 1] = {};
    DWORD cut = 0;
    for (DWORD i = 0; i < length && i < MAX_PATH; ++i)
      if (path[i] == L'\\')
        cut = i + 1;
    for (DWORD i = 0; i < cut; ++i)
      directory[i] = static_cast<char16_t>(path[i]);
    SetModuleDirectory(directory);
  }
  return TRUE;
}

extern "C" bool __stdcall InitDll()
{
  SetModuleHandle(gInstance);
  return true;
}

extern "C" bool __stdcall ExitDll()
{
  return true;
}
