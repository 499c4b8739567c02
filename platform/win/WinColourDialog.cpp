#include "platform/win/WinDesktop.h"

namespace {

// Gives the dialog the caller's prompt as its title.
UINT_PTR CALLBACK TitleHook(HWND dialog, UINT message, WPARAM, LPARAM param)
{
  if (message != WM_INITDIALOG) return 0;
  const auto* choose = reinterpret_cast<const CHOOSECOLORA*>(param);
  const auto* prompt = reinterpret_cast<const char*>(choose->lCustData);
  if (prompt) SetWindowTextA(dialog, prompt);
  return TRUE;
}

}  // namespace

bool WinAskForColour(HWND owner, COLORREF* customColours, IColour& colour, const char* prompt)
{
  if (!owner || !customColours) return false;
  CHOOSECOLORA choose = {};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = owner;
  choose.rgbResult = RGB(colour.red, colour.green, colour.blue);
  choose.lpCustColors = customColours;
  choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_SOLIDCOLOR | CC_ANYCOLOR;
  choose.lCustData = reinterpret_cast<LPARAM>(prompt);
  choose.lpfnHook = TitleHook;
  if (!ChooseColorA(&choose)) return false;
  colour.red = GetRValue(choose.rgbResult);
  colour.green = GetGValue(choose.rgbResult);
  colour.blue = GetBValue(choose.rgbResult);
  return true;
}
