#include "graphics/IFrameChoice.h"

#include "graphics/IGraphics.h"

#include <cmath>

IFrame ChooseFrame(const IBitmapRef& bitmap, double value)
{
  IFrame frame;
  const int n = bitmap.N;
  if (n <= 1 || !std::isfinite(value)) return frame;

  const double v = value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
  frame.index = static_cast<int>(0.5 + v * (n - 1)) + 1;
  if (frame.index > n) frame.index = n;
  if (frame.index == 1) return frame;

  const double length = bitmap.framesAreHorizontal ? bitmap.W : bitmap.H;
  const int offset = static_cast<int>(0.5 + length * (frame.index - 1) / n);
  if (bitmap.framesAreHorizontal)
    frame.srcX = offset;
  else
    frame.srcY = offset;
  return frame;
}

bool DrawFrame(IGraphics& graphics, const IBitmapRef& bitmap, const IBox& box, double value,
               const IBlend& blend)
{
  const IFrame frame = ChooseFrame(bitmap, value);
  return graphics.BlitBitmap(bitmap, box, frame.srcX, frame.srcY, &blend);
}
