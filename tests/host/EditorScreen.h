#pragma once
// What the Morvex editor must show on screen, for the editor tests of both
// platforms: the layout's controls, a first block that delivers settings as
// a host does, and the pictures composited by the frame rule.

#include "engine/MorvexEditor.h"
#include "tools/host/PluginInstance.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class LICE_IBitmap;

// The layout entry of a parameter's control.
const MorvexEditor::ControlSpec& SpecFor(int param);

// A few knobs and switches away from their defaults, delivered with the
// first processed block. False when the block fails.
bool ProcessFirstBlockWithSettings(host::PluginInstance& plugin);
// A later block that brings one change from the host, as automation does.
bool ProcessBlockWithChange(host::PluginInstance& plugin, int param, double value);

// A control's picture, or with doubleSize its double-size version; null
// when it cannot be loaded. The caller owns it.
using PictureLoader = std::function<LICE_IBitmap*(const MorvexEditor::ControlSpec&, bool doubleSize)>;

// The pictures as files of the source tree under root (resources/img, and
// its 2x folder for the double-size set).
PictureLoader SourceTreePictures(const std::string& root);

// How many pixels of a screen read back (0x00RRGGBB, row by row, the
// editor's size at the factor) differ from the editor's pictures composited
// by the frame rule for the plug-in's current values: value v of a strip of
// N frames shows frame round(v (N - 1)). At a factor other than 1 each frame
// comes from the double-size picture, resampled to its size at the factor
// unless that is 2, at its place scaled. -1 when a picture cannot be loaded.
// With readoutParam, the name plate reads that parameter's control: its
// blank plate with the panel's name and the value set in the glyph strip's
// letters, centred (at factors 1 and 2).
int PixelsDifferingFromLayout(const std::vector<uint32_t>& screen, host::PluginInstance& plugin,
                              const PictureLoader& picture, double scale = 1.0,
                              int readoutParam = -1);

// The editor's size at a factor, as the view reports it.
int ScaledLength(int length, double scale);
