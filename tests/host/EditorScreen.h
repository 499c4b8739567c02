#pragma once
// What the Morvex editor must show on screen, for the editor tests of both
// platforms: the layout's controls, a first block that delivers settings as
// a host does, and the pictures composited by the frame rule.

#include "engine/MorvexEditor.h"
#include "tools/host/PluginInstance.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class LICE_IBitmap;

// The layout entry of a parameter's control.
const MorvexEditor::ControlSpec& SpecFor(int param);

// A few knobs and switches away from their defaults, delivered with the
// first processed block. False when the block fails.
bool ProcessFirstBlockWithSettings(host::PluginInstance& plugin);
// A later block that brings one change from the host, as automation does.
bool ProcessBlockWithChange(host::PluginInstance& plugin, int param, double value);

// How many pixels of a screen read back (0x00RRGGBB, row by row, the
// editor's size) differ from the editor's pictures composited by the frame
// rule for the plug-in's current values: value v of a strip of N frames
// shows frame round(v (N - 1)). picture loads a control's picture; -1 when
// one cannot be loaded.
int PixelsDifferingFromLayout(const std::vector<uint32_t>& screen, host::PluginInstance& plugin,
                              const std::function<LICE_IBitmap*(const MorvexEditor::ControlSpec&)>& picture);
