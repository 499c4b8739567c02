#pragma once

#include "graphics/IBox.h"
#include "graphics/IGraphicsTypes.h"

#include <atomic>
#include <string>
#include <vector>

class IGraphics;
class IPlugBase;
class ITextControl;

// A second parameter a control follows besides its own.
struct IAuxParam
{
  std::atomic<double> value{0.0};
  int paramIdx = -1;

  IAuxParam(int idx, double v) : value(v), paramIdx(idx) {}
  IAuxParam(const IAuxParam& other) : value(other.value.load()), paramIdx(other.paramIdx) {}
  IAuxParam& operator=(const IAuxParam& other)
  {
    value.store(other.value.load());
    paramIdx = other.paramIdx;
    return *this;
  }
};

// A rectangle of the editor that draws itself and turns mouse input into a
// normalized value (0..1) of its parameter.
//
// The value, the learnt default and the dirty and redraw flags are also written
// from the audio thread (UpdateParameterControls, when the host or the engine
// moves a parameter) while the user-interface thread draws and routes the
// mouse, so they are atomics. A change from outside sets redraw before dirty,
// and SetClean turns redraw into dirty in one step: whatever the interleaving,
// the control is drawn again after its new value was stored.
class IControl
{
public:
  static constexpr int kDefaultTextEntryLength = 32;

  IControl(IPlugBase* plug, const IBox& box, int paramIdx = -1, IBlend blend = IBlend());

  virtual ~IControl();
  virtual void OnMouseDown(int x, int y, const IMouseKeys& keys);
  virtual void OnMouseUp(int x, int y, const IMouseKeys& keys);
  virtual void OnMouseDrag(int x, int y, int dX, int dY, const IMouseKeys& keys);
  virtual void OnMouseDoubleClick(int x, int y, const IMouseKeys& keys);
  virtual void OnMouseWheel(int x, int y, const IMouseKeys& keys, int steps);
  virtual bool OnKeyDown(int x, int y, int key);
  virtual void OnMouseOver(int x, int y, const IMouseKeys& keys);
  virtual void OnMouseOut();
  virtual bool Draw(IGraphics& graphics) = 0;
  // A value from the plug-in (host automation, state, the engine): the first
  // one is learnt as the double-click default without marking anything.
  virtual void SetValueFromPlug(double value);
  // A value the user picked or typed: stored, drawn and sent to the plug-in.
  virtual void SetValueFromUserInput(double value);
  virtual void SetTextFromEntry(const char* text);
  virtual void Hide(bool hide);
  virtual void GreyOut(bool grey);
  virtual bool IsHit(int x, int y) const;
  // Clamps the value into the control's range and marks it for drawing; with
  // push, the value also goes to the plug-in as an edit of the parameter.
  virtual void SetDirty(bool push = true);
  virtual void SetClean();
  virtual bool IsDirty() const;
  virtual void UnusedHook() {}  // keeps the table of operations in its order
  virtual void SetAuxValueFromPlug(int auxIdx, double value);

  // The right-click prompt: a menu or a typed value for the parameter.
  void AskUserForValue();

  int ParamIdx() const { return mParamIdx; }
  double GetValue() const { return mValue.load(std::memory_order_acquire); }
  void SetValue(double value) { mValue.store(value, std::memory_order_release); }
  // Negative until the first value from the plug-in is learnt.
  double GetDefaultValue() const { return mDefaultValue.load(std::memory_order_acquire); }
  void SetClamp(double lo, double hi)
  {
    mClampLo = lo;
    mClampHi = hi;
  }

  const IBox& GetBox() const { return mBox; }
  const IBox& GetTargetBox() const { return mTargetBox; }
  void SetTargetBox(const IBox& box) { mTargetBox = box; }
  const IBlend& GetBlend() const { return mBlend; }
  ITextStyle& GetText() { return mText; }
  int TextEntryLength() const { return mTextEntryLength; }

  bool IsHidden() const { return mHidden; }
  bool IsGrayed() const { return mGreyed; }
  bool MouseOverWhenGreyed() const { return mMouseOverWhenGreyed; }
  void SetMouseOverWhenGreyed(bool on) { mMouseOverWhenGreyed = on; }
  bool DblAsSingleClick() const { return mDblAsSingleClick; }
  void SetDblAsSingleClick(bool on) { mDblAsSingleClick = on; }
  void DisablePrompt(bool disable) { mDisablePrompt = disable; }
  void SetRedraw() { mFlags.fetch_or(kRedraw, std::memory_order_acq_rel); }

  void SetValueDisplay(ITextControl* display) { mValueDisplay = display; }
  void SetNameDisplay(ITextControl* display) { mNameDisplay = display; }
  const char* GetTooltip() const { return mTooltip.c_str(); }
  void SetTooltip(const char* tooltip) { mTooltip = tooltip ? tooltip : ""; }

  void AddAuxParam(int paramIdx);
  int NAuxParams() const { return static_cast<int>(mAuxParams.size()); }
  const IAuxParam* GetAuxParam(int i) const;

protected:
  // An edit made outside a press and release (a wheel notch, a double-click
  // reset) still reaches the host as one complete gesture, so hosts recording
  // automation in touch or latch mode keep it.
  void SetDirtyAsGesture();

  IPlugBase* mPlug;
  IBox mBox;
  IBlend mBlend;
  ITextStyle mText;

private:
  enum Flags : unsigned
  {
    kDirty = 1,
    kRedraw = 2
  };

  int mTextEntryLength = kDefaultTextEntryLength;
  IBox mTargetBox;
  int mParamIdx;
  std::vector<IAuxParam> mAuxParams;
  std::atomic<double> mValue{0.0};
  std::atomic<double> mDefaultValue{-1.0};
  double mClampLo = 0.0;
  double mClampHi = 1.0;
  std::atomic<unsigned> mFlags{kDirty};
  bool mHidden = false;
  bool mGreyed = false;
  bool mDisablePrompt = true;
  bool mDblAsSingleClick = false;
  bool mMouseOverWhenGreyed = false;
  ITextControl* mValueDisplay = nullptr;
  ITextControl* mNameDisplay = nullptr;
  std::string mTooltip;
};
