// Values moving between the controls and the plug-in's parameters.
#include "framework/IParamEntry.h"
#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"

#include <cmath>
#include <cstdio>
#include <limits>

void IGraphics::UpdateParameterControls(int paramIdx, double value, bool normalized)
{
  if (!normalized)
  {
    const IParamEntry* param = mPlug ? mPlug->GetParam(paramIdx) : nullptr;
    if (!param) return;
    value = param->PlainToNormalized(value);  // clamps into the range first
  }
  for (const auto& control : mControls)
  {
    if (control->ParamIdx() == paramIdx) control->SetValueFromPlug(value);
    for (int k = 0; k < control->NAuxParams(); ++k)
    {
      if (control->GetAuxParam(k)->paramIdx != paramIdx) continue;
      control->SetAuxValueFromPlug(k, value);
      break;
    }
  }
}

void IGraphics::SetValueFromUserAsGesture(IControl* control, double normalized)
{
  if (!control) return;
  const int param = control->ParamIdx();
  if (param < 0 || !mPlug)
  {
    control->SetValueFromUserInput(normalized);
    return;
  }
  mPlug->BeginParamEdit(param);
  control->SetValueFromUserInput(normalized);
  mPlug->EndParamEdit(param);
}

namespace
{
// The parameter's value as the user would type it, without the unit.
void FormatForEntry(const IParamEntry& param, char* out, std::size_t size)
{
  const double v = param.NegateDisplay() ? 0.0 - param.Value() : param.Value();
  if (param.Precision() > 0)
  {
    std::snprintf(out, size, "%.*f", param.Precision(), v);
    return;
  }
  const double truncated = std::trunc(v);
  if (truncated >= std::numeric_limits<int>::min() && truncated <= std::numeric_limits<int>::max())
    std::snprintf(out, size, "%d", static_cast<int>(truncated));
  else
    std::snprintf(out, size, "%.0f", truncated);
}
}  // namespace

void IGraphics::AskParameterValue(IControl* control, IParamEntry* param, const IBox& box)
{
  if (!control || !param || box.Empty()) return;

  const bool menuKind = param->GetKind() == IParamEntry::kKindEnum ||
                        (param->GetKind() == IParamEntry::kKindBool && param->NDisplayTexts() > 0);
  if (menuKind)
  {
    char current[IParamEntry::kDisplayTextSize];
    param->FormatValue(current);
    IMenu menu;
    for (int k = 0; k < param->NDisplayTexts(); ++k)
    {
      const char* text = param->DisplayTextFor(k);
      if (!text) text = "";
      menu.AddItem(text, std::string(text) == current ? IMenuItem::kChecked : 0);
    }
    if (IMenu* chosen = ShowPopupMenu(&menu, ToScreen(box)))
    {
      const int k = chosen->ChosenItemIdx();
      if (k >= 0) SetValueFromUserAsGesture(control, param->PlainToNormalized(k));
    }
    return;
  }

  char text[IParamEntry::kDisplayTextSize];
  FormatForEntry(*param, text, sizeof text);
  OpenValueEntry(control, control->GetText(), ToScreen(box), text, param);
}
