// Mouse routing and the controls' answers to it: which control a press
// reaches, what the host hears, and how values move.
#include <gtest/gtest.h>

#include "graphics/IBitmapControl.h"
#include "graphics/IKnobControl.h"
#include "tests/graphics/EditorFixture.h"

#include <cmath>

namespace
{
IMouseKeys Left() { return {true, false, false, false, false}; }
IMouseKeys Right() { return {false, true, false, false, false}; }
IMouseKeys LeftWith(bool shift, bool control) { return {true, false, shift, control, false}; }

// The small editor on a windowless context.
struct Editor
{
  EditPlug plug;
  TestGraphics* graphics;
  SmallEditor controls;
  IKnobMultiControl* knob = controls.knob;
  ISwitchControl* toggle = controls.toggle;

  // Attaching teaches the defaults: knob 0.5, switch 0.
  explicit Editor(int api = kApiVST3)
    : plug(api), graphics(new TestGraphics(&plug)), controls(*graphics, plug)
  {
  }
  ~Editor() { IGraphics::ReleaseModuleCaches(); }

  double GainValue() { return plug.GetParam(EditPlug::kGain)->NormalizedValue(); }
};

TEST(MouseRouting, pressGoesToTheTopmostControlThatIsNeitherHiddenNorGreyed)
{
  EditPlug plug;
  TestGraphics graphics(&plug);
  auto* bottom = new CountingControl(&plug, IBox(0, 0, 50, 50), EditPlug::kGain);
  auto* middle = new CountingControl(&plug, IBox(10, 10, 40, 40), EditPlug::kSwitch);
  auto* top = new CountingControl(&plug, IBox(20, 20, 30, 30), EditPlug::kFreq);
  graphics.AttachControl(bottom);
  graphics.AttachControl(middle);
  graphics.AttachControl(top);

  EXPECT_EQ(2, graphics.FindControlAt(25, 25));
  top->Hide(true);
  EXPECT_EQ(1, graphics.FindControlAt(25, 25));
  middle->GreyOut(true);
  EXPECT_EQ(0, graphics.FindControlAt(25, 25));
  EXPECT_EQ(-1, graphics.FindControlAt(60, 60));

  // The press begins the gesture of the control it reached.
  graphics.HandleMouseDown(25, 25, Left());
  EXPECT_EQ(0, graphics.GetMouseCapture());
  graphics.HandleMouseUp(25, 25, Left());
  EXPECT_EQ((std::vector<HostEvent>{{'b', EditPlug::kGain, 0.0}, {'e', EditPlug::kGain, 0.0}}),
            plug.events);
}

TEST(MouseRouting, rightPressInVst3HostOpensTheHostMenuOnly)
{
  Editor e;
  e.graphics->HandleMouseDown(20, 20, Right());
  EXPECT_EQ((std::vector<HostEvent>{{'m', EditPlug::kGain, 0.0}}), e.plug.events);
  EXPECT_EQ(-1, e.graphics->GetMouseCapture());
  e.graphics->HandleMouseUp(20, 20, Right());
  EXPECT_EQ("m", e.plug.Kinds());  // nothing was begun, so nothing ends

  // Elsewhere a right press is an ordinary press.
  Editor other(kApiNone);
  other.graphics->HandleMouseDown(20, 20, Right());
  EXPECT_EQ(1, other.graphics->GetMouseCapture());
  EXPECT_EQ("b", other.plug.Kinds());
}

TEST(MouseRouting, pressDragReleaseIsOneGestureAndRepeatedPositionsAreDropped)
{
  Editor e;
  e.graphics->HandleMouseDown(20, 40, Left());
  e.graphics->HandleMouseDrag(20, 34, Left());
  e.graphics->HandleMouseDrag(20, 34, Left());  // the same position again
  e.graphics->HandleMouseDrag(20, 28, Left());
  e.graphics->HandleMouseUp(20, 28, Left());
  // 6 pixels of a 60-pixel knob at gearing 4 are 0.025.
  ASSERT_EQ("bppe", e.plug.Kinds());
  EXPECT_DOUBLE_EQ(0.525, e.plug.events[1].value);
  EXPECT_DOUBLE_EQ(0.55, e.plug.events[2].value);
  EXPECT_DOUBLE_EQ(0.55, e.GainValue());
  EXPECT_EQ(-1, e.graphics->GetMouseCapture());
}

TEST(MouseRouting, wheelNotchAndDoubleClickEachReachTheHostAsOneGesture)
{
  Editor e;
  e.graphics->HandleMouseWheel(20, 20, IMouseKeys(), 1);
  ASSERT_EQ("bpe", e.plug.Kinds());
  EXPECT_DOUBLE_EQ(0.51, e.plug.events[1].value);

  // The double click arrives after a press and release of its own.
  e.plug.events.clear();
  e.graphics->HandleMouseDown(20, 20, Left());
  e.graphics->HandleMouseUp(20, 20, Left());
  EXPECT_FALSE(e.graphics->HandleMouseDoubleClick(20, 20, Left()));
  e.graphics->HandleMouseUp(20, 20, Left());
  EXPECT_EQ("bebpe", e.plug.Kinds());
  EXPECT_DOUBLE_EQ(0.5, e.plug.events[3].value);  // the learnt default
  EXPECT_DOUBLE_EQ(0.5, e.GainValue());

  // A switch steps twice on a double click: once per press.
  e.plug.events.clear();
  e.graphics->HandleMouseDown(110, 20, Left());
  e.graphics->HandleMouseUp(110, 20, Left());
  e.graphics->HandleMouseDoubleClick(110, 20, Left());
  e.graphics->HandleMouseUp(110, 20, Left());
  EXPECT_EQ((std::vector<HostEvent>{{'b', EditPlug::kSwitch, 0.0},
                                    {'p', EditPlug::kSwitch, 1.0},
                                    {'e', EditPlug::kSwitch, 0.0},
                                    {'b', EditPlug::kSwitch, 0.0},
                                    {'p', EditPlug::kSwitch, 0.0},
                                    {'e', EditPlug::kSwitch, 0.0}}),
            e.plug.events);
}

TEST(KnobControl, dragMovesByBoxHeightOverGearingAndTenTimesFinerWithModifier)
{
  struct Case
  {
    bool shift, control;
    int dy;
    double expected;
  };
  const Case cases[] = {
    {false, false, -60, 0.75},  // a full box height up: 1 / 4
    {false, false, 60, 0.25},
    {true, false, -60, 0.525},
    {false, true, -60, 0.525},
  };
  for (const Case& c : cases)
  {
    Editor e;
    e.graphics->HandleMouseDown(20, 40, Left());
    e.graphics->HandleMouseDrag(20, 40 + c.dy, LeftWith(c.shift, c.control));
    EXPECT_DOUBLE_EQ(c.expected, e.knob->GetValue()) << c.shift << c.control << c.dy;
  }
}

TEST(KnobControl, knobAtTheTopStaysThereAndStillPushes)
{
  Editor e;
  e.graphics->UpdateParameterControls(EditPlug::kGain, 1.0, true);
  e.graphics->HandleMouseDown(20, 40, Left());
  e.graphics->HandleMouseDrag(20, 30, Left());
  e.graphics->HandleMouseDrag(20, 20, Left());
  ASSERT_EQ("bpp", e.plug.Kinds());
  EXPECT_EQ(1.0, e.plug.events[1].value);
  EXPECT_EQ(1.0, e.plug.events[2].value);
  EXPECT_EQ(1.0, e.knob->GetValue());
}

TEST(KnobControl, wheelStepsAHundredthOrAThousandthWithModifier)
{
  Editor e;
  IMouseKeys fine;
  fine.control = true;
  e.graphics->HandleMouseWheel(20, 20, fine, 1);
  EXPECT_DOUBLE_EQ(0.501, e.knob->GetValue());
  e.graphics->HandleMouseWheel(20, 20, IMouseKeys(), -3);
  EXPECT_DOUBLE_EQ(0.471, e.knob->GetValue());
}

TEST(KnobControl, dragOverABoxWithNoHeightLeavesTheValueFinite)
{
  EditPlug plug;
  TestGraphics graphics(&plug);
  IBitmapRef flat;  // a picture that did not load: the box has no size
  flat.N = 121;
  auto* knob = new IKnobMultiControl(&plug, 5, 5, EditPlug::kGain, flat);
  graphics.AttachControl(knob);
  knob->SetValueFromPlug(0.5);
  knob->OnMouseDrag(5, 0, 0, -5, Left());
  EXPECT_TRUE(std::isfinite(knob->GetValue()));
  EXPECT_TRUE(std::isfinite(plug.GetParam(EditPlug::kGain)->Value()));
}

TEST(SwitchControl, twoFrameSwitchCyclesThroughOffOnOff)
{
  Editor e;
  std::vector<double> seen;
  for (int i = 0; i < 3; ++i)
  {
    e.graphics->HandleMouseDown(110, 20, Left());
    e.graphics->HandleMouseUp(110, 20, Left());
    seen.push_back(e.toggle->GetValue());
  }
  EXPECT_EQ((std::vector<double>{1.0, 0.0, 1.0}), seen);
  EXPECT_EQ(1.0, e.plug.GetParam(EditPlug::kSwitch)->Value());
}

TEST(Control, doubleClickRestoresTheLearntDefaultAndNothingBeforeOne)
{
  EditPlug plug;
  TestGraphics graphics(&plug);
  auto* control = new CountingControl(&plug, IBox(0, 0, 10, 10), EditPlug::kGain);
  graphics.AttachControl(control);
  control->SetValue(0.9);
  control->OnMouseDoubleClick(1, 1, Left());
  EXPECT_EQ(0.9, control->GetValue());
  EXPECT_EQ("", plug.Kinds());

  control->SetValueFromPlug(0.25);  // the first value is the default
  control->SetValue(0.9);
  control->OnMouseDoubleClick(1, 1, Left());
  EXPECT_EQ(0.25, control->GetValue());
  EXPECT_EQ("bpe", plug.Kinds());
}

TEST(Control, valueFromThePlugInMarksOnlyAChange)
{
  EditPlug plug;
  CountingControl control(&plug, IBox(0, 0, 10, 10), EditPlug::kGain);
  control.SetValueFromPlug(0.4);
  control.SetClean();
  ASSERT_FALSE(control.IsDirty());
  control.SetValueFromPlug(0.4);
  EXPECT_FALSE(control.IsDirty());
  control.SetValueFromPlug(0.6);
  EXPECT_TRUE(control.IsDirty());
  EXPECT_EQ("", plug.Kinds());  // nothing goes back to the host
}
}  // namespace
