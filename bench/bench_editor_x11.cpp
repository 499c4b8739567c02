// The Linux editor on screen: a full redraw of the 1162 x 274 panel with its
// embedded pictures, presented to the X server and waited for, through
// shared memory (MIT-SHM) and through the connection. Needs an X display
// (xvfb-run -a bench_editor_x11).

#include "engine/Morvex.h"
#include "engine/MorvexEditor.h"
#include "platform/x11/IGraphicsX11.h"

#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

// One connection for the whole run: a server resets whenever its last client
// leaves, and refuses connections meanwhile.
Display* HostDisplay()
{
  static Display* const display = XOpenDisplay(nullptr);
  return display;
}

void FullRedrawOnScreen(benchmark::State& state, bool sharedMemory)
{
  Display* display = HostDisplay();
  if (!display)
  {
    state.SkipWithError("no X display: run under xvfb-run");
    return;
  }
  const Window host = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0,
                                          MorvexEditor::kWidth, MorvexEditor::kHeight, 0, 0, 0);
  XMapWindow(display, host);
  XSync(display, False);
  {
    Morvex plug;
    auto* editor = dynamic_cast<IGraphicsX11*>(plug.GetGraphics());
    if (!sharedMemory && editor) editor->StopSharedMemory();
    if (!editor || !editor->OpenWindow(reinterpret_cast<void*>(uintptr_t(host))) ||
        editor->UsesSharedMemory() != sharedMemory)
    {
      state.SkipWithError("the editor window cannot open here as asked");
    }
    else
    {
      const IBox all(0, 0, MorvexEditor::kWidth, MorvexEditor::kHeight);
      for (auto _ : state)
      {
        editor->DrawRegion(all);
        editor->WaitUntilDrawn();
      }
      editor->CloseWindow();
    }
  }
  XDestroyWindow(display, host);
  XSync(display, False);
}

void BM_X11FullRedrawSharedMemory(benchmark::State& state) { FullRedrawOnScreen(state, true); }
BENCHMARK(BM_X11FullRedrawSharedMemory)->Unit(benchmark::kMicrosecond);

void BM_X11FullRedrawPutImage(benchmark::State& state) { FullRedrawOnScreen(state, false); }
BENCHMARK(BM_X11FullRedrawPutImage)->Unit(benchmark::kMicrosecond);

}  // namespace
