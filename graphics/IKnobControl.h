#pragma once

#include "graphics/IControl.h"

// A control turned by dragging along one direction. Gearing is how many
// lengths of the box a drag takes to cross the whole range.
class IKnobControl : public IControl
{
public:
  enum Direction
  {
    kVertical = 0,
    kHorizontal = 1
  };
  static constexpr double kDefaultGearing = 4.0;

  IKnobControl(IPlugBase* plug, const IBox& box, int paramIdx, int direction = kVertical,
               double gearing = kDefaultGearing, IBlend blend = IBlend())
    : IControl(plug, box, paramIdx, blend), mDirection(direction), mGearing(gearing)
  {
  }

  int Direction() const { return mDirection; }
  double Gearing() const { return mGearing; }

protected:
  int mDirection;
  double mGearing;
};

// A knob drawn from a filmstrip picture: dragged, scrolled, and reset to its
// default with a double click.
class IKnobMultiControl : public IKnobControl
{
public:
  // Wheel steps: a notch moves the value by a hundredth, a thousandth with the
  // fine modifier.
  static constexpr double kWheelStep = 0.01;
  static constexpr double kFineWheelStep = 0.001;
  // Shift or control make a drag this many times finer.
  static constexpr double kFineDragFactor = 10.0;

  IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapRef& bitmap,
                    int direction = kVertical, double gearing = kDefaultGearing);

  void OnMouseDrag(int x, int y, int dX, int dY, const IMouseKeys& keys) override;
  void OnMouseWheel(int x, int y, const IMouseKeys& keys, int steps) override;
  bool Draw(IGraphics& graphics) override;

  const IBitmapRef& GetBitmap() const { return mBitmap; }

private:
  IBitmapRef mBitmap;
};
