#pragma once

class IGraphics;
class IPlugBase;

// The editor's layout: a fixed 1162 x 274 background with fourteen filmstrip
// knobs and five two-state switches, each on one parameter.
namespace MorvexEditor
{
constexpr int kWidth = 1162;
constexpr int kHeight = 274;

enum class Kind
{
  Background,
  Switch,
  Knob
};

// One control: its picture (a module resource, also a file under
// resources/img), its frame count and size, and where it sits.
struct ControlSpec
{
  Kind kind;
  int param;  // -1 for the background
  int resourceId;
  const char* file;
  int frames;
  int left, top;
  int frameWidth, frameHeight;
};

// In attachment order, which is also drawing order: the background first.
constexpr int kNumControls = 20;
extern const ControlSpec kControls[kNumControls];

// The readout on the centre name plate, attached after the controls: the
// plate without its lettering and the strip of letters it sets its lines in.
struct ReadoutSpec
{
  int plateResourceId;
  const char* plateFile;
  int glyphsResourceId;
  const char* glyphsFile;
  int glyphFrames;
  int left, top, width, height;
};
extern const ReadoutSpec kReadout;

// Loads every picture and attaches the background, the controls in order
// and the readout, which hears where the pointer is.
void AttachControls(IGraphics& graphics, IPlugBase& plug);
}  // namespace MorvexEditor
