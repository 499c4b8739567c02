// The editor's redraws on its real pictures (resources/img): a full redraw of
// the 1162 x 274 panel with its 20 controls, the redraw after one knob moved,
// and opening an editor with a cold and a warm picture cache; each at a
// factor of 1 and of 2 (the double-size pictures of resources/img/2x).

#include "engine/Morvex.h"
#include "engine/MorvexEditor.h"
#include "graphics/IGraphicsWindowless.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const char* const kSourceDir = MORVEX_SOURCE_DIR;

// A Morvex whose editor reads its pictures from the source tree.
struct EditorUnderTest {
  Morvex plug;
  IGraphicsWindowless* graphics =
      new IGraphicsWindowless(&plug, MorvexEditor::kWidth, MorvexEditor::kHeight, kSourceDir);

  explicit EditorUnderTest(double scale = 1.0)
  {
    MorvexEditor::AttachControls(*graphics, plug);
    plug.AttachEditor(graphics);
    graphics->SetScale(scale);
  }

  // What opening the window draws: everything.
  void DrawAll()
  {
    IBox all;
    graphics->FindDirtyRegion(all);
    graphics->DrawRegion(all);
  }

  bool PicturesLoaded() const
  {
    for (int i = 0; i < graphics->NControls(); ++i)
      if (graphics->GetControl(i)->GetBox().W() == 0) return false;
    return true;
  }
};

// The factor is the benchmark's argument in quarters: 4 is 1, 8 is 2.
double Factor(const benchmark::State& state) { return state.range(0) / 4.0; }

void BM_FullRedraw(benchmark::State& state)
{
  EditorUnderTest editor(Factor(state));
  if (!editor.PicturesLoaded()) state.SkipWithError("pictures missing under resources/img");
  const IBox all(0, 0, editor.graphics->ScreenWidth(), editor.graphics->ScreenHeight());
  editor.graphics->DrawRegion(all);  // the double-size pictures are decoded once
  for (auto _ : state) benchmark::DoNotOptimize(editor.graphics->DrawRegion(all));
}
BENCHMARK(BM_FullRedraw)->Arg(4)->Arg(8)->Unit(benchmark::kMicrosecond);

// What one timer tick does after the host moved one knob: find the dirty
// region and redraw it.
void BM_OneKnobRedraw(benchmark::State& state)
{
  EditorUnderTest editor(Factor(state));
  if (!editor.PicturesLoaded()) state.SkipWithError("pictures missing under resources/img");
  IGraphics& g = *editor.graphics;
  IBox region;
  while (g.FindDirtyRegion(region)) g.DrawRegion(region);
  int n = 0;
  for (auto _ : state)
  {
    g.UpdateParameterControls(Morvex::kLowGain, (++n % 120) / 120.0, true);
    g.FindDirtyRegion(region);
    benchmark::DoNotOptimize(g.DrawRegion(region));
  }
}
BENCHMARK(BM_OneKnobRedraw)->Arg(4)->Arg(8)->Unit(benchmark::kMicrosecond);

// One step of a drag on "Low Gain" while the name plate reads it: the knob
// and the plate are redrawn on the next tick.
void BM_DragStepWithReadout(benchmark::State& state)
{
  EditorUnderTest editor(Factor(state));
  if (!editor.PicturesLoaded()) state.SkipWithError("pictures missing under resources/img");
  IGraphics& g = *editor.graphics;
  const int x = IGraphics::ScaleLength(278, g.Scale()), y = IGraphics::ScaleLength(71, g.Scale());
  IMouseKeys left;
  left.left = true;
  g.HandleMouseDown(x, y, left);
  IBox region;
  while (g.FindDirtyRegion(region)) g.DrawRegion(region);
  int n = 0;
  for (auto _ : state)
  {
    g.HandleMouseDrag(x, y - (++n % 40), left);
    g.FindDirtyRegion(region);
    benchmark::DoNotOptimize(g.DrawRegion(region));
  }
  g.HandleMouseUp(x, y, IMouseKeys());
}
BENCHMARK(BM_DragStepWithReadout)->Arg(4)->Arg(8)->Unit(benchmark::kMicrosecond);

// The first editor of the module decodes all twenty pictures it shows (at 2
// the double-size set too, on top of the set the plug-in loads as it is
// made), and draws them.
void BM_OpenFirstEditor(benchmark::State& state)
{
  for (auto _ : state)
  {
    IGraphics::ReleaseModuleCaches();
    EditorUnderTest editor(Factor(state));
    if (!editor.PicturesLoaded()) state.SkipWithError("pictures missing under resources/img");
    editor.DrawAll();
  }
}
BENCHMARK(BM_OpenFirstEditor)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// Opening at 2 alone, once the plug-in is made: the double-size set decoded
// and everything drawn.
void BM_OpenFirstEditorAtTwoOnceMade(benchmark::State& state)
{
  for (auto _ : state)
  {
    state.PauseTiming();
    IGraphics::ReleaseModuleCaches();
    EditorUnderTest editor;
    state.ResumeTiming();
    editor.graphics->SetScale(2.0);
    editor.DrawAll();
  }
}
BENCHMARK(BM_OpenFirstEditorAtTwoOnceMade)->Unit(benchmark::kMillisecond);

// Later editors take the pictures from the module's cache.
void BM_OpenLaterEditor(benchmark::State& state)
{
  IGraphics::ReleaseModuleCaches();
  {
    EditorUnderTest first(Factor(state));
    first.DrawAll();
  }
  for (auto _ : state)
  {
    EditorUnderTest editor(Factor(state));
    editor.DrawAll();
    benchmark::DoNotOptimize(editor.graphics);
  }
}
BENCHMARK(BM_OpenLaterEditor)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace
