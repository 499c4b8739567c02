#pragma once

#include "tools/host/ResponsePlot.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <string>

namespace host {

struct EditorShotOptions
{
  int settleMs = 400;  // how long the editor runs (and draws) before the screen is read
  // Content factors the host gives the view: before attaching it, and again
  // once it has drawn. 0 gives none.
  double scale = 0.0;
  double rescale = 0.0;
  // A drag in progress when the screen is read: the left button pressed at
  // (dragX, dragY) of the editor and moved dragDy pixels down (up when
  // negative), as the user's pointer would, then released after the read.
  bool drag = false;
  int dragX = 0, dragY = 0, dragDy = 0;
};

// Opens the controller's editor view in a window of the host's own, lets it
// run (its timer draws meanwhile), and reads back what the screen shows of
// it. A factor given after it drew resizes it through the host's frame, as
// when a DAW's window moves to another screen; a drag is made after that.
// False with a message when the
// plug-in has no editor here or the window cannot be made or read.
bool CaptureEditor(Steinberg::Vst::IEditController* controller, const EditorShotOptions& options,
                   RgbImage& image, std::string& error);

// The controller's editor view, when it opens in a window of the platform
// type and has a size, given the content factor first (when scale > 0);
// null with a message otherwise. windowKind names the window in that message
// ("a Windows window").
Steinberg::IPlugView* CreateEditorView(Steinberg::Vst::IEditController* controller,
                                       Steinberg::FIDString platformType, const char* windowKind,
                                       double scale, Steinberg::ViewRect& size, std::string& error);

// Gives the view a content factor; false with a message when it takes none.
bool SetContentScale(Steinberg::IPlugView* view, double scale, std::string& error);

}  // namespace host
