#include "desktop_support.h"

#include <cstdio>
#include <cstring>

const char* const kTestHostClass = "MorvexDesktopTestHost";

namespace {

const char* const kTestEditorClass = "MorvexDesktopTestEditor";

void RegisterTestClasses()
{
  static const bool registered = [] {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kTestHostClass;
    RegisterClassA(&windowClass);
    windowClass.lpszClassName = kTestEditorClass;
    RegisterClassA(&windowClass);
    return true;
  }();
  (void)registered;
}

struct DialogSearch
{
  HWND owner;
  HWND found;
};

BOOL CALLBACK TakeOwnedDialog(HWND window, LPARAM param)
{
  auto* search = reinterpret_cast<DialogSearch*>(param);
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, "#32770") != 0 || !IsWindowVisible(window) ||
      GetWindow(window, GW_OWNER) != search->owner)
    return TRUE;
  search->found = window;
  return FALSE;
}

// Closes the dialogs and menus of the thread that is stuck in a modal call.
BOOL CALLBACK Dismiss(HWND window, LPARAM)
{
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, "#32770") == 0) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  if (std::strcmp(className, "#32768") == 0) PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  return TRUE;
}

}  // namespace

TestHostWindows::TestHostWindows()
{
  RegisterTestClasses();
  host = CreateWindowExA(0, kTestHostClass, "Test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                         40, 640, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  editor = CreateWindowExA(0, kTestEditorClass, "Editor", WS_CHILD | WS_VISIBLE, 10, 10, 400, 200,
                           host, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TestHostWindows::~TestHostWindows()
{
  DestroyWindow(host);
}

HWND FindVisibleWindow(const char* className, const char* title)
{
  HWND window = FindWindowA(className, title);
  return window && IsWindowVisible(window) ? window : nullptr;
}

HWND FindOwnedDialog(HWND owner)
{
  DialogSearch search = {owner, nullptr};
  EnumWindows(TakeOwnedDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

ModalActor::ModalActor(std::function<HWND()> find, std::function<void(HWND)> act, int seconds)
  : mFind(std::move(find)),
    mAct(std::move(act)),
    mLimitMs(DWORD(seconds) * 1000),
    mModalThread(GetCurrentThreadId())
{
  mThread = std::thread([this] { Run(); });
}

ModalActor::~ModalActor()
{
  Finish();
}

bool ModalActor::Finish()
{
  mReturned = true;
  if (mThread.joinable()) mThread.join();
  return mActed;
}

void ModalActor::Run()
{
  const DWORD start = GetTickCount();
  HWND window = nullptr;
  while (!mReturned && GetTickCount() - start < mLimitMs) {
    if ((window = mFind())) break;
    Sleep(10);
  }
  if (window && !mReturned) {
    mAct(window);
    mActed = true;
  }
  // A modal call still running after the limit is ended by dismissing the
  // thread's dialogs and menus; if even that does not end it, the program ends.
  DWORD waitFrom = GetTickCount();
  DWORD wait = window ? mLimitMs : 0;
  bool dismissed = false;
  while (!mReturned) {
    if (GetTickCount() - waitFrom > wait) {
      if (dismissed) {
        std::fprintf(stderr, "The modal call did not end: ending the tests.\n");
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
      }
      std::fprintf(stderr, "A modal dialog or menu was %s and stayed open: dismissing it.\n",
                   window ? "answered" : "not found");
      EnumThreadWindows(mModalThread, Dismiss, 0);
      dismissed = true;
      waitFrom = GetTickCount();
      wait = mLimitMs;
    }
    Sleep(10);
  }
}
