// The host's side of an editor: a top-level window sized to the view, a plug
// frame that honours resize requests, and a screen read-back.
#include "tools/host/EditorShot.h"

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

void Pump(int milliseconds)
{
  const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  do
  {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

// What the screen shows of the window's client area, read from the screen
// itself rather than from anything the plug-in drew into.
bool ReadScreen(HWND window, int width, int height, RgbImage& image)
{
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section) return false;
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(memory, section);
  HDC screen = GetDC(nullptr);
  const bool ok = BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY) != 0;
  ReleaseDC(nullptr, screen);
  if (ok)
  {
    GdiFlush();
    const uint32_t* pixels = static_cast<const uint32_t*>(bits);
    image.width = width;
    image.height = height;
    image.pixels.assign(pixels, pixels + static_cast<size_t>(width) * height);
    for (uint32_t& p : image.pixels) p &= 0xFFFFFF;
  }
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(section);
  return ok;
}

}  // namespace

bool CaptureEditor(Steinberg::Vst::IEditController* controller, int settleMs, RgbImage& image,
                   std::string& error)
{
  Steinberg::IPlugView* view = controller ? controller->createView(Steinberg::Vst::ViewType::kEditor)
                                          : nullptr;
  if (!view)
  {
    error = "the plug-in offers no editor view";
    return false;
  }
  Steinberg::ViewRect size;
  if (view->isPlatformTypeSupported(Steinberg::kPlatformTypeHWND) != Steinberg::kResultOk ||
      view->getSize(&size) != Steinberg::kResultOk || size.getWidth() <= 0 ||
      size.getHeight() <= 0)
  {
    view->release();
    error = "the plug-in's editor does not open in a Windows window";
    return false;
  }

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
    Pump(settleMs);
    ok = ReadScreen(window, size.getWidth(), size.getHeight(), image);
    if (!ok) error = "cannot read the editor back from the screen";
    view->removed();
  }
  view->setFrame(nullptr);
  view->release();
  DestroyWindow(window);
  Pump(10);
  return ok;
}

}  // namespace host
