#include "tools/host/EditorShot.h"

namespace host {

Steinberg::IPlugView* CreateEditorView(Steinberg::Vst::IEditController* controller,
                                       Steinberg::FIDString platformType, const char* windowKind,
                                       Steinberg::ViewRect& size, std::string& error)
{
  Steinberg::IPlugView* view = controller ? controller->createView(Steinberg::Vst::ViewType::kEditor)
                                          : nullptr;
  if (!view)
  {
    error = "the plug-in offers no editor view";
    return nullptr;
  }
  if (view->isPlatformTypeSupported(platformType) != Steinberg::kResultOk ||
      view->getSize(&size) != Steinberg::kResultOk || size.getWidth() <= 0 ||
      size.getHeight() <= 0)
  {
    view->release();
    error = std::string("the plug-in's editor does not open in ") + windowKind;
    return nullptr;
  }
  return view;
}

}  // namespace host
