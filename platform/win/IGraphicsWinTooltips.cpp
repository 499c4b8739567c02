// Tooltips: one tool covering the editor window, its text switched to the
// control under the pointer when the pointer rests.
#include "platform/win/IGraphicsWin.h"

#include <commctrl.h>

void IGraphicsWin::SetUpTooltips()
{
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
  bool ok = InitCommonControlsEx(&controls);
  if (ok)
  {
    mTooltipWindow = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mWindow,
                                     nullptr, mModuleInstance, nullptr);
    ok = mTooltipWindow != nullptr;
  }
  if (ok)
  {
    SetWindowPos(mTooltipWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = mWindow;
    tool.uId = reinterpret_cast<UINT_PTR>(mWindow);
    tool.lpszText = const_cast<char*>("");
    ok = SendMessageA(mTooltipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
  }
  if (!ok)
  {
    // Without tooltips the editor works as before.
    if (mTooltipWindow) DestroyWindow(mTooltipWindow);
    mTooltipWindow = nullptr;
    EnableTooltips(false);
  }
}

void IGraphicsWin::ShowTooltip(bool show)
{
  if (!mTooltipWindow) return;
  const IControl* control = show ? GetControl(mTooltipIndex) : nullptr;
  if (show && !control) return;
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = mWindow;
  tool.uId = reinterpret_cast<UINT_PTR>(mWindow);
  tool.lpszText = const_cast<char*>(control ? control->GetTooltip() : "");
  SendMessageA(mTooltipWindow, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  mTooltipShown = show;
}
