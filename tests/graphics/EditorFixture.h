#pragma once
// A small plug-in that records what its editor sends to the host, and a
// windowless editor whose pictures are made in memory.

#include "framework/IPlugBase.h"
#include "graphics/IGraphicsWindowless.h"
#include "raster/LICE_MemBitmap.h"

#include <set>
#include <string>
#include <vector>

// One call the editor made on the plug-in's host side.
struct HostEvent
{
  char kind;  // 'b' begin, 'p' perform, 'e' end, 'm' host menu
  int param;
  double value;

  bool operator==(const HostEvent& o) const
  {
    return kind == o.kind && param == o.param && value == o.value;
  }
};

class EditPlug : public IPlugBase
{
public:
  enum Param
  {
    kGain = 0,    // -24..24 dB, step 0.01
    kSwitch = 1,  // integer 0..1
    kFreq = 2,    // 30..450, shape 2
    kMode = 3,    // a choice of "Soft", "Warm", "Hot"
    kNumParams = 4
  };

  explicit EditPlug(int api = kApiVST3);

  void BeginParamEdit(int idx) override { events.push_back({'b', idx, 0.0}); }
  void ReportParamEdit(int idx, double n) override { events.push_back({'p', idx, n}); }
  void EndParamEdit(int idx) override { events.push_back({'e', idx, 0.0}); }
  void ShowHostParamMenu(int idx, int, int) override { events.push_back({'m', idx, 0.0}); }

  // The kinds of the recorded events in order, e.g. "bppe".
  std::string Kinds() const;

  std::vector<HostEvent> events;
};

// Pictures by resource id: a strip of frames h pixels high, w wide, each
// frame's pixels distinct and partly transparent. Ids listed as missing load
// nothing. Counts every decode.
class TestGraphics : public IGraphicsWindowless
{
public:
  struct Picture
  {
    int id, w, h, frames;
  };

  TestGraphics(IPlugBase* plug, int width = 200, int height = 100);

  LICE_IBitmap* LoadResourceImage(int id, const char* name) override;
  // With rowsFromPng, pictures are also offered row by row, as PNG data:
  // those listed as damaged cut short at a fifth.
  std::unique_ptr<LICE_PNGRows> OpenResourceRows(int id, const char* name) override;

  void AddPicture(Picture p) { pictures.push_back(p); }

  std::vector<Picture> pictures;
  std::set<int> missing;
  bool rowsFromPng = false;
  std::set<int> damaged;
  int decodes = 0;
  std::vector<int> decodedIds;
};

// A strip of frames w x h stacked vertically; pixel values depend on the
// frame, the position and seed, with alpha from transparent to opaque.
LICE_MemBitmap* MakeStrip(int w, int h, int frames, unsigned seed);

class IKnobMultiControl;
class ISwitchControl;

// The small editor of the editor tests, 200 x 100: an opaque background
// (picture 1), a knob 60 pixels high at (10, 10) on kGain (picture 2, 121
// frames of 40 x 60) and a two-frame switch at (100, 10) on kSwitch (picture 3,
// 20 x 20). Attached to the plug-in, which teaches the controls their defaults.
struct SmallEditor
{
  static constexpr int kWidth = 200;
  static constexpr int kHeight = 100;
  IKnobMultiControl* knob;
  ISwitchControl* toggle;

  SmallEditor(IGraphics& graphics, IPlugBase& plug);
  // The pictures by resource id, for contexts that make their own; each
  // has a double-size version under its id plus 100.
  static LICE_MemBitmap* Picture(int id);
};

// A control that counts its drawing passes.
class CountingControl : public IControl
{
public:
  using IControl::IControl;
  bool Draw(IGraphics&) override
  {
    ++draws;
    return true;
  }
  int draws = 0;
};
