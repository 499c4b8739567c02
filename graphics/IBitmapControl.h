#pragma once

#include "graphics/IControl.h"

// One frame of a picture strip, chosen by the value.
class IBitmapControl : public IControl
{
public:
  // At (x, y), one frame in size, for a parameter (or -1), with a blend method
  // at full weight.
  IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapRef& bitmap,
                 int blendMethod = IBlend::kBlendNone);
  // Over a given box with no parameter, as the editor's background.
  IBitmapControl(IPlugBase* plug, const IBox& box, const IBitmapRef& bitmap, IBlend blend);

  bool Draw(IGraphics& graphics) override;

  const IBitmapRef& GetBitmap() const { return mBitmap; }

protected:
  IBitmapRef mBitmap;
};

// A bitmap control that steps through its frames, one per press, wrapping to
// the first after the last.
class ISwitchControl : public IBitmapControl
{
public:
  using IBitmapControl::IBitmapControl;

  void OnMouseDown(int x, int y, const IMouseKeys& keys) override;
  void OnMouseDoubleClick(int x, int y, const IMouseKeys& keys) override;

private:
  void Step();
};

// The box of one frame of a picture placed at (x, y).
IBox FrameBox(int x, int y, const IBitmapRef& bitmap);
