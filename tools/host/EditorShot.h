#pragma once

#include "tools/host/ResponsePlot.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <string>

namespace host {

// Opens the controller's editor view in a window of the host's own, lets it
// run for settleMs (its timer draws meanwhile), and reads back what the
// screen shows of it. False with a message when the plug-in has no editor
// here or the window cannot be made or read.
bool CaptureEditor(Steinberg::Vst::IEditController* controller, int settleMs, RgbImage& image,
                   std::string& error);

}  // namespace host
