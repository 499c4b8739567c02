#pragma once

#include "public.sdk/source/common/pluginview.h"

class IPlugVST3;

// The editor view a host gets from createView("editor"). It draws nothing of
// its own: it hands the host's parent window to the plug-in's graphics
// context, which opens the editor window in it, and reports the editor's
// fixed size.
class IPlugVST3View : public Steinberg::CPluginView
{
public:
  explicit IPlugVST3View(IPlugVST3* plug);
  ~IPlugVST3View() override;

  Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) override;
  Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) override;
  Steinberg::tresult PLUGIN_API removed() override;
  Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) override;
  Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;
  Steinberg::tresult PLUGIN_API setFrame(Steinberg::IPlugFrame* frame) override;
  Steinberg::tresult PLUGIN_API onFocus(Steinberg::TBool) override { return Steinberg::kResultFalse; }

  // Asks the host's frame to make the view width x height; the editor hears
  // of it when the host answers with onSize.
  void RequestResize(int width, int height);

private:
  IPlugVST3* mPlug;
  bool mResizePending = false;
};
