// The host's side of an editor: a top-level window sized to the view, a plug
// frame that honours resize requests, and a screen read-back.
#include "tools/host/EditorShot.h"

#include "tools/host/ScreenReadback_win.h"

#include "pluginterfaces/gui/iplugview.h"

#include <windows.h>

namespace host {

namespace {

const char* const kHostWindowClass = "MorvexHostEditor";
constexpr DWORD kHostWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;

// Resizes the host window so its client area fits the view, as a DAW does.
class PlugFrame : public Steinberg::IPlugFrame
{
public:
  explicit PlugFrame(HWND window) : mWindow(window) {}
  virtual ~PlugFrame() = default;

  Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                           Steinberg::ViewRect* size) override
  {
    if (!view || !size) return Steinberg::kInvalidArgument;
    RECT r = {0, 0, size->getWidth(), size->getHeight()};
    AdjustWindowRect(&r, kHostWindowStyle, FALSE);
    SetWindowPos(mWindow, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return view->onSize(size);
  }
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override
  {
    if (Steinberg::FUnknownPrivate::iidEqual(iid, Steinberg::IPlugFrame::iid) ||
        Steinberg::FUnknownPrivate::iidEqual(iid, Steinberg::FUnknown::iid))
    {
      *obj = this;
      return Steinberg::kResultOk;
    }
    *obj = nullptr;
    return Steinberg::kNoInterface;
  }
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
  HWND mWindow;
};

// A DPI-aware host, as today's DAWs are: Windows then tells windows the
// screen's own resolution instead of stretching them.
void BecomeDpiAware()
{
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  HMODULE user32 = GetModuleHandleA("user32.dll");
  const auto setContext = reinterpret_cast<SetContextFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
  const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4));
  if (setContext && setContext(perMonitorV2)) return;
  SetProcessDPIAware();
}

// The cursor to a point of the window, and the left button, as input from
// the mouse: Windows makes the window's messages from it.
void CursorTo(HWND window, int x, int y)
{
  POINT p = {x, y};
  ClientToScreen(window, &p);
  SetCursorPos(p.x, p.y);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((p.x * 65535LL) / (GetSystemMetrics(SM_CXSCREEN) - 1));
  input.mi.dy = static_cast<LONG>((p.y * 65535LL) / (GetSystemMetrics(SM_CYSCREEN) - 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

void LeftButton(bool down)
{
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof input);
}

}  // namespace

bool CaptureEditor(Steinberg::Vst::IEditController* controller, const EditorShotOptions& options,
                   RgbImage& image, std::string& error)
{
  BecomeDpiAware();
  Steinberg::ViewRect size;
  Steinberg::IPlugView* view = CreateEditorView(controller, Steinberg::kPlatformTypeHWND,
                                                "a Windows window", options.scale, size, error);
  if (!view) return false;

  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kHostWindowClass;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  RegisterClassA(&wc);
  RECT r = {0, 0, size.getWidth(), size.getHeight()};
  AdjustWindowRect(&r, kHostWindowStyle, FALSE);
  HWND window = CreateWindowExA(0, kHostWindowClass, "Morvex", kHostWindowStyle, 0, 0,
                                r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (!window)
  {
    view->release();
    error = "cannot make a window for the editor";
    return false;
  }

  PlugFrame frame(window);
  view->setFrame(&frame);
  bool ok = view->attached(window, Steinberg::kPlatformTypeHWND) == Steinberg::kResultOk;
  if (!ok) error = "the plug-in's editor did not open";
  if (ok)
  {
    PumpMessages(options.settleMs);
    if (options.rescale > 0.0)
    {
      ok = SetContentScale(view, options.rescale, error);
      PumpMessages(options.settleMs);
    }
    HWND editor = GetWindow(window, GW_CHILD);
    if (ok && options.drag && !editor)
    {
      ok = false;
      error = "the plug-in's editor has no window to drag in";
    }
    if (ok && options.drag)
    {
      CursorTo(editor, options.dragX, options.dragY);
      PumpMessages(60);
      LeftButton(true);
      PumpMessages(60);
      const int steps = options.dragDy < 0 ? -options.dragDy : options.dragDy;
      for (int i = 1; i <= steps; ++i)
      {
        CursorTo(editor, options.dragX, options.dragY + (options.dragDy < 0 ? -i : i));
        PumpMessages(5);
      }
      PumpMessages(options.settleMs);
    }
    // What the editor is now, after the screen's factor or a new one.
    if (ok && view->getSize(&size) == Steinberg::kResultOk)
    {
      ok = ReadScreen(window, size.getWidth(), size.getHeight(), image);
      if (!ok) error = "cannot read the editor back from the screen";
    }
    if (options.drag)
    {
      LeftButton(false);
      PumpMessages(60);
    }
    view->removed();
  }
  view->setFrame(nullptr);
  view->release();
  DestroyWindow(window);
  PumpMessages(10);
  return ok;
}

}  // namespace host
