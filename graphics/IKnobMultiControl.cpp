#include "graphics/IBitmapControl.h"
#include "graphics/IFrameChoice.h"
#include "graphics/IGraphics.h"
#include "graphics/IKnobControl.h"

IKnobMultiControl::IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx,
                                     const IBitmapRef& bitmap, int direction, double gearing)
  : IKnobControl(plug, FrameBox(x, y, bitmap), paramIdx, direction, gearing), mBitmap(bitmap)
{
}

void IKnobMultiControl::OnMouseDrag(int, int, int dX, int dY, const IMouseKeys& keys)
{
  const double gearing = keys.Fine() ? mGearing * kFineDragFactor : mGearing;
  // Moving up raises the value: one drag over the box's length moves it by
  // 1 / gearing. A box with no length has nothing to drag over.
  const int length = mDirection == kVertical ? mBox.top - mBox.bottom : mBox.right - mBox.left;
  const int delta = mDirection == kVertical ? dY : dX;
  if (length != 0 && gearing != 0.0) SetValue(GetValue() + delta / double(length) / gearing);
  SetDirty(true);
}

void IKnobMultiControl::OnMouseWheel(int, int, const IMouseKeys& keys, int steps)
{
  SetValue(GetValue() + steps * (keys.Fine() ? kFineWheelStep : kWheelStep));
  SetDirtyAsGesture();
}

bool IKnobMultiControl::Draw(IGraphics& graphics)
{
  return DrawFrame(graphics, mBitmap, mBox, GetValue(), mBlend);
}
