#pragma once
// What the desktop-service tests share: a host window with an editor inside,
// and a second actor that answers the modal dialogs and menus those services
// show, within a time limit.

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

// A visible top-level "host" window with a child "editor" window in it.
struct TestHostWindows
{
  HWND host = nullptr;
  HWND editor = nullptr;
  TestHostWindows();
  ~TestHostWindows();
};
extern const char* const kTestHostClass;

// A visible window of this class (and title, when given), or null.
HWND FindVisibleWindow(const char* className, const char* title = nullptr);
// A visible dialog owned by owner, or null.
HWND FindOwnedDialog(HWND owner);

// Answers a modal dialog or menu from a second thread: waits at most `seconds`
// for find() to give a window, then calls act(window) once. If the modal call
// has not returned `seconds` after that, the actor dismisses the thread's open
// dialogs and menus, and `seconds` later still ends the test program: a dialog
// that never appears or is never answered fails instead of hanging.
// Construct it on the thread that makes the modal call.
class ModalActor
{
public:
  ModalActor(std::function<HWND()> find, std::function<void(HWND)> act, int seconds = 5);
  ~ModalActor();
  // Call once the modal call has returned; true when the window was found and answered.
  bool Finish();

  ModalActor(const ModalActor&) = delete;
  ModalActor& operator=(const ModalActor&) = delete;

private:
  void Run();

  std::function<HWND()> mFind;
  std::function<void(HWND)> mAct;
  DWORD mLimitMs;
  DWORD mModalThread;
  std::atomic<bool> mReturned{false};
  std::atomic<bool> mActed{false};
  std::thread mThread;
};
