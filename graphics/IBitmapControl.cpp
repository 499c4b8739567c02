#include "graphics/IBitmapControl.h"

#include "graphics/IFrameChoice.h"
#include "graphics/IGraphics.h"

IBox FrameBox(int x, int y, const IBitmapRef& bitmap)
{
  return IBox(x, y, x + bitmap.FrameWidth(), y + bitmap.FrameHeight());
}

IBitmapControl::IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx,
                               const IBitmapRef& bitmap, int blendMethod)
  : IControl(plug, FrameBox(x, y, bitmap), paramIdx, IBlend(blendMethod, 1.0f)), mBitmap(bitmap)
{
}

IBitmapControl::IBitmapControl(IPlugBase* plug, const IBox& box, const IBitmapRef& bitmap,
                               IBlend blend)
  : IControl(plug, box, -1, blend), mBitmap(bitmap)
{
}

bool IBitmapControl::Draw(IGraphics& graphics)
{
  return DrawFrame(graphics, mBitmap, mBox, GetValue(), mBlend);
}

void ISwitchControl::Step()
{
  const double step = mBitmap.N > 1 ? 1.0 / (mBitmap.N - 1) : 1.0;
  double value = GetValue() + step;
  // The margin keeps the last frame reachable despite the rounding of 1 / (N - 1).
  if (value > 1.001) value = 0.0;
  SetValue(value);
}

void ISwitchControl::OnMouseDown(int, int, const IMouseKeys&)
{
  // Inside the press-and-release gesture the editor has already begun.
  Step();
  SetDirty(true);
}

void ISwitchControl::OnMouseDoubleClick(int, int, const IMouseKeys&)
{
  // The second click of a double click arrives here, outside any press.
  Step();
  SetDirtyAsGesture();
}
