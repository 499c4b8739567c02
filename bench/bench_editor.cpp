// The editor's redraws on its real pictures (resources/img): a full redraw of
// the 1162 x 274 panel with its 20 controls, the redraw after one knob moved,
// and opening an editor with a cold and a warm picture cache.

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

  EditorUnderTest()
  {
    MorvexEditor::AttachControls(*graphics, plug);
    plug.AttachEditor(graphics);
  }

  bool PicturesLoaded() const
  {
    for (int i = 0; i < graphics->NControls(); ++i)
      if (graphics->GetControl(i)->GetBox().W() == 0) return false;
    return true;
  }
};

void BM_FullRedraw(benchmark::State& state)
{
  EditorUnderTest editor;
  if (!editor.PicturesLoaded()) state.SkipWithError("pictures missing under resources/img");
  const IBox all(0, 0, MorvexEditor::kWidth, MorvexEditor::kHeight);
  for (auto _ : state) benchmark::DoNotOptimize(editor.graphics->DrawRegion(all));
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

// What one timer tick does after the host moved one knob: find the dirty
// region and redraw it.
void BM_OneKnobRedraw(benchmark::State& state)
{
  EditorUnderTest editor;
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
BENCHMARK(BM_OneKnobRedraw)->Unit(benchmark::kMicrosecond);

// The first editor of the module decodes all twenty pictures.
void BM_OpenFirstEditor(benchmark::State& state)
{
  for (auto _ : state)
  {
    IGraphics::ReleaseModuleCaches();
    EditorUnderTest editor;
    if (!editor.PicturesLoaded()) state.SkipWithError("pictures missing under resources/img");
  }
}
BENCHMARK(BM_OpenFirstEditor)->Unit(benchmark::kMillisecond);

// Later editors take the pictures from the module's cache.
void BM_OpenLaterEditor(benchmark::State& state)
{
  IGraphics::ReleaseModuleCaches();
  EditorUnderTest first;
  for (auto _ : state)
  {
    EditorUnderTest editor;
    benchmark::DoNotOptimize(editor.graphics);
  }
}
BENCHMARK(BM_OpenLaterEditor)->Unit(benchmark::kMillisecond);

}  // namespace
