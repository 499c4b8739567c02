#include "tools/host/EditorShot.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

namespace host {

Steinberg::IPlugView* CreateEditorView(Steinberg::Vst::IEditController* controller,
                                       Steinberg::FIDString platformType, const char* windowKind,
                                       double scale, Steinberg::ViewRect& size, std::string& error)
{
  Steinberg::IPlugView* view = controller ? controller->createView(Steinberg::Vst::ViewType::kEditor)
                                          : nullptr;
  if (!view)
  {
    error = "the plug-in offers no editor view";
    return nullptr;
  }
  if (scale > 0.0 && !SetContentScale(view, scale, error))
  {
    view->release();
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

bool SetContentScale(Steinberg::IPlugView* view, double scale, std::string& error)
{
  Steinberg::FUnknownPtr<Steinberg::IPlugViewContentScaleSupport> scaling(view);
  if (!scaling || scaling->setContentScaleFactor(static_cast<float>(scale)) != Steinberg::kResultTrue)
  {
    error = "the plug-in's editor takes no content scale factor";
    return false;
  }
  return true;
}

}  // namespace host
