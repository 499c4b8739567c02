#pragma once

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
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
//
// The editor scales by the host's content factor, or, until a host gives
// one, by the factor of the screen under its parent window. A new size
// while open is asked of the host's frame and taken when the host agrees.
class IPlugVST3View : public Steinberg::CPluginView, public Steinberg::IPlugViewContentScaleSupport
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
  Steinberg::tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) override;

  OBJ_METHODS(IPlugVST3View, Steinberg::CPluginView)
  DEFINE_INTERFACES
    DEF_INTERFACE(Steinberg::IPlugViewContentScaleSupport)
  END_DEFINE_INTERFACES(Steinberg::CPluginView)
  REFCOUNT_METHODS(Steinberg::CPluginView)

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
  // Takes the editor to the factor: at once while no window is open, else
  // through the host's frame.
  void ChangeScale(double factor);
  // The editor's size at a factor, in screen pixels.
  Steinberg::ViewRect SizeAt(double scale) const;

  IPlugVST3* mPlug;
  bool mResizePending = false;
  bool mHoldsWindow = false;
  // Once a host gives a factor the screen's no longer counts.
  bool mHostScaleGiven = false;
  double mHostScale = 1.0;
  // A factor asked of the host and not yet agreed, or 0.
  double mPendingScale = 0.0;
  RunLoopBinding* mRunLoopBinding = nullptr;
};
