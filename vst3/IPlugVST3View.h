#pragma once

#include "public.sdk/source/common/pluginview.h"

class IPlugVST3;
class RunLoopBinding;

// The editor view a host gets from createView("editor"). It draws nothing of
// its own: it hands the host's parent window to the plug-in's graphics
// context, which opens the editor window in it, and reports the editor's
// fixed size. On Linux the window has no thread of its own: while attached,
// its connection and timer are registered with the run loop the host's
// plug frame offers.
//
// A plug-in has one editor window. A host may make a second view before it
// removes the first: the window then moves to the view attached last, and
// only the view holding it may close it.
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
  Steinberg::tresult PLUGIN_API checkSizeConstraint(Steinberg::ViewRect* rect) override;
  Steinberg::tresult PLUGIN_API onFocus(Steinberg::TBool) override { return Steinberg::kResultFalse; }

  // Asks the host's frame to make the view width x height; the editor hears
  // of it when the host answers with onSize.
  void RequestResize(int width, int height);
  // Another view opened the editor window in its own parent: this one no
  // longer holds it, and what it registered served a connection now gone.
  void LoseWindow();

private:
  // Opens the editor window in the parent; on Linux also registers it with
  // the frame's run loop. False, with nothing left open, on failure.
  bool OpenEditorWindow(void* parent);
  // Closes the window if this view holds it, after unregistering it.
  void CloseEditorWindow();
  bool BindRunLoop();
  // Unregisters through the very loop it registered with; idempotent.
  void UnbindRunLoop();

  IPlugVST3* mPlug;
  bool mResizePending = false;
  bool mHoldsWindow = false;
  RunLoopBinding* mRunLoopBinding = nullptr;
};
