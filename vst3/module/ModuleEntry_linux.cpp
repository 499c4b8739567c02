// Entry points a Linux host calls right after loading the module and right
// before unloading it.
#include "vst3/module/ModuleState.h"

#include "pluginterfaces/base/fplatform.h"

extern "C" {

SMTG_EXPORT_SYMBOL bool ModuleEntry(void* sharedLibraryHandle)
{
  SetModuleHandle(sharedLibraryHandle);
  return true;
}

SMTG_EXPORT_SYMBOL bool ModuleExit()
{
  return true;
}

}  // extern "C"
