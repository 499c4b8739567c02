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
    // What the editor is now, after the screen's factor or a new one.
    if (ok && view->getSize(&size) == Steinberg::kResultOk)
    {
      ok = ReadScreen(window, size.getWidth(), size.getHeight(), image);
      if (!ok) error = "cannot read the editor back from the screen";
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
