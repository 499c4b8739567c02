// The in-place value-entry field: a Win32 edit control over the editor, whose
// Return, Escape, focus and press events decide at the next timer tick whether
// the typed value is taken.
#include "platform/win/IGraphicsWin.h"

#include "framework/IParamEntry.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{
// Marks the field's window as ours.
constexpr LONG_PTR kEntryMarker = 0xDEADF00B;
}

void IGraphicsWin::OpenValueEntry(IControl* control, const ITextStyle& style, const IBox& box,
                                  const char* text, IParamEntry* param)
{
  if (!control || mEntryField || !mWindow) return;

  DWORD align = 0;
  if (style.align == ITextStyle::kAlignCenter) align = ES_CENTER;
  if (style.align == ITextStyle::kAlignFar) align = ES_RIGHT;
  mEntryField = CreateWindowExA(0, "EDIT", text ? text : "",
                                WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL | align,
                                box.left, box.top, box.W() + 1, box.H() + 1, mWindow,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEntryFieldId)),
                                mModuleInstance, nullptr);
  if (!mEntryField) return;

  mEntryFont = CreateFontA(style.size, 0, 0, 0, style.style == ITextStyle::kStyleBold ? FW_BOLD : 0,
                           style.style == ITextStyle::kStyleItalic, 0, 0, 0, 0, 0, 0, 0, style.face);
  SendMessageA(mEntryField, WM_SETFONT, reinterpret_cast<WPARAM>(mEntryFont), 0);
  SendMessageA(mEntryField, EM_LIMITTEXT, static_cast<WPARAM>(control->TextEntryLength()), 0);
  SendMessageA(mEntryField, EM_SETSEL, 0, -1);
  // The focus arrives before the field is ours, so it opens in None, not Editing.
  SetFocus(mEntryField);
  mEntryDefaultProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(mEntryField, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EntryProc)));
  SetWindowLongPtrA(mEntryField, GWLP_USERDATA, kEntryMarker);
  mEntryParam = param;
  mEntryControl = control;
}

void IGraphicsWin::CancelValueEntry()
{
  mEntryState = EntryState::Cancel;
}

void IGraphicsWin::CommitEntry()
{
  char text[IControl::kDefaultTextEntryLength + 1] = {};
  SendMessageA(mEntryField, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  if (!mEntryControl) return;
  if (!mEntryParam)
  {
    mEntryControl->SetTextFromEntry(text);
    return;
  }

  double plain = 0.0;
  const IParamEntry::Kind kind = mEntryParam->GetKind();
  if (kind == IParamEntry::kKindBool || kind == IParamEntry::kKindEnum)
  {
    for (int i = 0; i < mEntryParam->NDisplayTexts(); ++i)
    {
      const IParamEntry::DisplayText* entry = mEntryParam->GetDisplayText(i);
      if (std::strcmp(entry->text, text) == 0)
      {
        plain = entry->value;
        break;
      }
    }
  }
  else
  {
    plain = std::strtod(text, nullptr);
    if (std::isnan(plain)) plain = 0.0;  // text that is no number counts as 0
    if (mEntryParam->NegateDisplay()) plain = -plain;
  }
  SetValueFromUserAsGesture(mEntryControl, mEntryParam->PlainToNormalized(plain));
}

void IGraphicsWin::CloseEntry()
{
  if (mEntryField)
  {
    SetWindowLongPtrA(mEntryField, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mEntryDefaultProc));
    DestroyWindow(mEntryField);
  }
  // Each field makes its own font; without this every typed value would leak one.
  if (mEntryFont) DeleteObject(mEntryFont);
  mEntryFont = nullptr;
  mEntryField = nullptr;
  mEntryParam = nullptr;
  mEntryControl = nullptr;
  mEntryDefaultProc = nullptr;
  mEntryState = EntryState::None;
}

LRESULT CALLBACK IGraphicsWin::EntryProc(HWND field, UINT msg, WPARAM wParam, LPARAM lParam)
{
  auto* self = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrA(GetParent(field), GWLP_USERDATA));
  if (!self || field != self->mEntryField) return DefWindowProcA(field, msg, wParam, lParam);
  return self->HandleEntryMessage(msg, wParam, lParam);
}

LRESULT IGraphicsWin::HandleEntryMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (mTooltipShown) ShowTooltip(false);
  switch (msg)
  {
    case WM_SETFOCUS: mEntryState = EntryState::Editing; break;
    case WM_KILLFOCUS: mEntryState = EntryState::Commit; break;

    case WM_KEYDOWN:
      if (wParam == VK_RETURN)
      {
        mEntryState = EntryState::Commit;
        return 0;
      }
      if (wParam == VK_ESCAPE)
      {
        mEntryState = EntryState::Cancel;
        return 0;
      }
      break;

    case WM_CHAR:
      // Only what can make a number of the parameter's kind gets typed.
      if (mEntryParam && wParam != VK_BACK)
      {
        const bool digitOrSign = (wParam >= '0' && wParam <= '9') || wParam == '+' || wParam == '-';
        const bool real = mEntryParam->GetKind() == IParamEntry::kKindContinuous;
        if (!digitOrSign && !(real && wParam == '.')) return 0;
      }
      break;

    case WM_GETDLGCODE:
      if (!mEntryParam)
      {
        LRESULT code = CallWindowProcA(mEntryDefaultProc, mEntryField, msg, wParam, lParam);
        const MSG* query = reinterpret_cast<const MSG*>(lParam);
        if (query && query->message == WM_KEYDOWN && query->wParam == VK_RETURN)
          code |= DLGC_WANTALLKEYS;
        return code;
      }
      break;

    case WM_COMMAND:
      if (HIWORD(wParam) == 1)
      {
        mEntryState = EntryState::Commit;
        return 0;
      }
      break;

    default: break;
  }
  return CallWindowProcA(mEntryDefaultProc, mEntryField, msg, wParam, lParam);
}
