#include "graphics/IControl.h"

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "graphics/ITextControl.h"

#include <algorithm>
#include <cstdio>

IControl::IControl(IPlugBase* plug, const IBox& box, int paramIdx, IBlend blend)
  : mPlug(plug), mBox(box), mBlend(blend), mTargetBox(box), mParamIdx(paramIdx)
{
}

IControl::~IControl() = default;

void IControl::OnMouseDown(int, int, const IMouseKeys& keys)
{
  if (keys.right) AskUserForValue();
}

void IControl::OnMouseUp(int, int, const IMouseKeys&) {}

void IControl::OnMouseDrag(int, int, int, int, const IMouseKeys&) {}

void IControl::OnMouseDoubleClick(int, int, const IMouseKeys&)
{
  const double def = GetDefaultValue();
  if (!(def >= 0.0)) return;  // nothing learnt yet
  SetValue(def);
  SetDirtyAsGesture();
}

void IControl::OnMouseWheel(int, int, const IMouseKeys&, int) {}

bool IControl::OnKeyDown(int, int, int) { return false; }

void IControl::OnMouseOver(int, int, const IMouseKeys&) {}

void IControl::OnMouseOut() {}

void IControl::SetValueFromPlug(double value)
{
  if (GetDefaultValue() < 0.0)
  {
    mDefaultValue.store(value, std::memory_order_release);
    SetValue(value);
    return;
  }
  if (value == GetValue()) return;
  SetValue(value);
  SetRedraw();
  SetDirty(false);
}

void IControl::SetValueFromUserInput(double value)
{
  if (value == GetValue()) return;
  SetValue(value);
  SetRedraw();
  SetDirty(true);
}

void IControl::SetTextFromEntry(const char*) {}

void IControl::Hide(bool hide)
{
  mHidden = hide;
  SetRedraw();
  SetDirty(false);
}

void IControl::GreyOut(bool grey)
{
  mGreyed = grey;
  mBlend.weight = grey ? 0.25f : 1.0f;
  SetDirty(false);
}

bool IControl::IsHit(int x, int y) const
{
  return !mTargetBox.Empty() && mTargetBox.Contains(x, y);
}

void IControl::SetDirty(bool push)
{
  const double v = GetValue();
  SetValue(v < mClampLo ? mClampLo : std::min(mClampHi, v));
  mFlags.fetch_or(kDirty, std::memory_order_acq_rel);

  if (!push || !mPlug || mParamIdx < 0) return;
  mPlug->SetParamFromEditor(mParamIdx, GetValue());

  const IParamEntry* param = mPlug->GetParam(mParamIdx);
  if (!param) return;
  if (mValueDisplay)
  {
    char value[IParamEntry::kDisplayTextSize];
    param->FormatValue(value);
    char text[2 * IParamEntry::kTextSize + 2];
    std::snprintf(text, sizeof text, "%.32s %.32s", value, param->UnitsForHost());
    mValueDisplay->SetTextFromPlug(text);
  }
  if (mNameDisplay) mNameDisplay->SetTextFromPlug(param->Name());
}

void IControl::SetClean()
{
  unsigned flags = mFlags.load(std::memory_order_acquire);
  while (!mFlags.compare_exchange_weak(flags, (flags & kRedraw) ? kDirty : 0u,
                                       std::memory_order_acq_rel))
  {
  }
}

bool IControl::IsDirty() const
{
  return (mFlags.load(std::memory_order_acquire) & kDirty) != 0;
}

void IControl::SetAuxValueFromPlug(int auxIdx, double value)
{
  if (auxIdx < 0 || auxIdx >= NAuxParams()) return;
  IAuxParam& aux = mAuxParams[static_cast<std::size_t>(auxIdx)];
  if (aux.value.load(std::memory_order_acquire) == value) return;
  aux.value.store(value, std::memory_order_release);
  SetRedraw();
  SetDirty(false);
}

void IControl::AddAuxParam(int paramIdx)
{
  mAuxParams.emplace_back(paramIdx, 0.0);
}

const IAuxParam* IControl::GetAuxParam(int i) const
{
  if (i < 0 || i >= NAuxParams()) return nullptr;
  return &mAuxParams[static_cast<std::size_t>(i)];
}

void IControl::AskUserForValue()
{
  if (mParamIdx < 0 || mDisablePrompt || !mPlug) return;
  IParamEntry* param = mPlug->GetParam(mParamIdx);
  IGraphics* graphics = mPlug->GetGraphics();
  if (!param || !graphics) return;

  IBox box = mBox;
  if (param->NDisplayTexts() == 0)
  {
    const int cx = static_cast<int>(0.5f * static_cast<float>(mBox.left + mBox.right));
    const int cy = static_cast<int>(0.5f * static_cast<float>(mBox.top + mBox.bottom));
    box = IBox(cx - 20, cy - 8, cx + 20, cy + 8);
  }
  graphics->AskParameterValue(this, param, box);
  SetRedraw();
}

void IControl::SetDirtyAsGesture()
{
  if (!mPlug || mParamIdx < 0)
  {
    SetDirty(true);
    return;
  }
  mPlug->BeginParamEdit(mParamIdx);
  SetDirty(true);
  mPlug->EndParamEdit(mParamIdx);
}
