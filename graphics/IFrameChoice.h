#pragma once

#include "graphics/IGraphicsTypes.h"

// The frame of a strip that shows a value: its 1-based index and where it
// starts inside the picture.
struct IFrame
{
  int index = 1;
  int srcX = 0;
  int srcY = 0;
};

// Frame trunc(0.5 + v * (N - 1)) + 1 of N, with v limited to 0..1 so that no
// value, however large, reaches the integer conversion out of range; a value
// that is not a number shows the first frame. The frame's offset along the
// strip is rounded from the strip's length, so frames of a strip whose length
// is not a multiple of N still start where the artwork put them.
IFrame ChooseFrame(const IBitmapRef& bitmap, double value);

class IGraphics;
struct IBox;
struct IBlend;

// Draws the frame of the strip that shows value into box.
bool DrawFrame(IGraphics& graphics, const IBitmapRef& bitmap, const IBox& box, double value,
               const IBlend& blend);
