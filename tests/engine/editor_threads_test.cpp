// The audio thread and the user-interface thread share the editor: the host's
// changes and the I/O link update controls while the user drags and the
// window redraws. Run under ThreadSanitizer by the linux-tsan preset, for as
// many seconds as MORVEX_STRESS_SECONDS says.
#include <gtest/gtest.h>

#include "engine/Morvex.h"
#include "graphics/IBitmapControl.h"
#include "graphics/IGraphicsWindowless.h"
#include "graphics/IKnobControl.h"
#include "raster/LICE_MemBitmap.h"
#include "tools/host/ParameterChanges.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
double StressSeconds()
{
  const char* text = std::getenv("MORVEX_STRESS_SECONDS");
  const double seconds = text ? std::atof(text) : 0.0;
  return seconds > 0.0 ? seconds : 0.3;
}

// One knob per continuous parameter and one switch per switch, in a row.
struct Editor
{
  LICE_MemBitmap knobStrip{40, 40 * 121};
  LICE_MemBitmap switchStrip{20, 40};
  IGraphicsWindowless* graphics;

  explicit Editor(Morvex& plug) : graphics(new IGraphicsWindowless(&plug, 800, 100))
  {
    IBitmapRef knob{&knobStrip, 40, 40 * 121, 121, false};
    IBitmapRef toggle{&switchStrip, 20, 40, 2, false};
    for (int i = 0; i < Morvex::kNumParams; ++i)
    {
      if (i < Morvex::kNumMirrored)
        graphics->AttachControl(new IKnobMultiControl(&plug, 40 * i, 0, i, knob));
      else if (i > Morvex::kUnusedSlot)
        graphics->AttachControl(new ISwitchControl(&plug, 20 * i, 60, i, toggle));
    }
    plug.AttachEditor(graphics);
  }
};

TEST(EditorThreads, hostChangesAndTheLinkMeetDragsAndRedrawsWithoutRaces)
{
  IPtr<Morvex> plug = owned(new Morvex);
  ASSERT_EQ(kResultOk, plug->initialize(nullptr));
  ProcessSetup setup{kRealtime, kSample64, 64, 48000.0};
  ASSERT_EQ(kResultOk, plug->setupProcessing(setup));
  plug->setActive(true);
  Editor editor(*plug);
  IGraphics& g = *editor.graphics;

  // One block with the host's changes of round n.
  auto processBlock = [&plug](unsigned n) {
    std::vector<double> l(64, 0.1), r(64, -0.1);
    double* ins[2] = {l.data(), r.data()};
    double* outs[2] = {l.data(), r.data()};
    AudioBusBuffers in{}, out{};
    in.numChannels = out.numChannels = 2;
    in.channelBuffers64 = ins;
    out.channelBuffers64 = outs;
    host::ParameterChanges changes;
    changes.add(Morvex::kIOLink, 1.0);
    changes.add(Morvex::kInput, (n % 97) / 96.0);
    changes.add(Morvex::kLowGain, (n % 13) / 12.0);
    changes.add(Morvex::kHighBell, n & 1);
    ProcessData data;
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample64;
    data.numSamples = 64;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &in;
    data.outputs = &out;
    data.inputParameterChanges = &changes;
    plug->process(data);
  };

  std::atomic<bool> stop{false};
  std::thread audio([&] {
    for (unsigned n = 0; !stop.load(); ++n) processBlock(n);
  });

  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(StressSeconds());
  IMouseKeys left;
  left.left = true;
  int rounds = 0;
  while (std::chrono::steady_clock::now() < end || rounds < 10)
  {
    const int x = 40 * (rounds % Morvex::kNumMirrored) + 20;
    g.HandleMouseDown(x, 20, left);
    for (int step = 0; step < 8; ++step) g.HandleMouseDrag(x, 20 + (step % 4) * 5 - 10, left);
    g.HandleMouseUp(x, 20, left);
    g.HandleMouseWheel(x, 20, IMouseKeys(), 1);
    g.HandleMouseDoubleClick(x, 20, left);
    g.HandleMouseDown(20 * (15 + rounds % 5) + 5, 70, left);
    g.HandleMouseUp(20 * (15 + rounds % 5) + 5, 70, left);
    IBox dirty;
    if (g.FindDirtyRegion(dirty)) g.DrawRegion(dirty);
    ++rounds;
  }
  stop = true;
  audio.join();

  // After one more block the Output knob shows the linked value.
  processBlock(40);
  const double input = plug->GetParam(Morvex::kInput)->Value();
  EXPECT_DOUBLE_EQ(-input, plug->GetParam(Morvex::kOutput)->Value());
  EXPECT_DOUBLE_EQ(plug->GetParam(Morvex::kOutput)->NormalizedValue(),
                   g.GetControl(Morvex::kOutput)->GetValue());
  plug->setActive(false);
  plug->terminate();
}
}  // namespace
