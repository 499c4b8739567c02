#pragma once

#include "tools/host/ResponsePlot.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <string>

namespace host {

// Opens the controller's editor view in a window of the host's own, lets it
// run for settleMs (its timer draws meanwhile), and reads back what the
// screen shows of it. False with a message when the plug-in has no editor
// here or the window cannot be made or read.
bool CaptureEditor(Steinberg::Vst::IEditController* controller, int settleMs, RgbImage& image,
                   std::string& error);

// The controller's editor view, when it opens in a window of the platform
// type and has a size; null with a message otherwise. windowKind names the
// window in that message ("a Windows window").
Steinberg::IPlugView* CreateEditorView(Steinberg::Vst::IEditController* controller,
                                       Steinberg::FIDString platformType, const char* windowKind,
                                       Steinberg::ViewRect& size, std::string& error);

}  // namespace host
