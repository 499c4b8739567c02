#include "platform/win/WinDesktop.h"

#include <shellapi.h>
#include <wininet.h>

namespace {

bool SystemConnected()
{
  DWORD state = 0;
  return InternetGetConnectedState(&state, 0) != FALSE;
}

INT_PTR SystemOpen(HWND owner, const char* address)
{
  return reinterpret_cast<INT_PTR>(
      ShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL));
}

}  // namespace

const WinLinkShell kWinSystemLinkShell = {SystemConnected, SystemOpen};

bool WinOpenLink(HWND owner, const char* address, const char* title, const char* confirmation,
                 const char* failureMessage, const WinLinkShell& shell)
{
  if (confirmation && MessageBoxA(owner, confirmation, title, MB_YESNO) != IDYES) return false;
  if (shell.connected() && shell.open(owner, address) > 32) return true;
  if (failureMessage) MessageBoxA(owner, failureMessage, title, MB_OK);
  return false;
}
