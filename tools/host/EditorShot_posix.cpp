// No editor windows on this platform yet.
#ifndef _WIN32

#include "tools/host/EditorShot.h"

namespace host {

bool CaptureEditor(Steinberg::Vst::IEditController*, int, RgbImage&, std::string& error)
{
  error = "this build has no editor window; use the Windows build (morvex-host.exe) under Wine";
  return false;
}

}  // namespace host

#endif
