// The editor at a screen factor: the layout scaled onto the surface, mouse
// positions back to layout units, and pictures drawn at the factor's size.
#include "graphics/IGraphics.h"

#include "framework/IPlugBase.h"
#include "graphics/IScaledPicture.h"
#include "raster/LICE_Composite.h"
#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_Resample.h"
#include "raster/LICE_SysBitmap.h"

#include <cmath>
#include <cstring>

double IGraphics::QuantizeScale(double factor)
{
  if (!(factor > kMinScale)) return kMinScale;  // below 1, and not a number, are 1
  if (factor > kMaxScale) return kMaxScale;
  return std::round(factor * 4.0) / 4.0;
}

std::string IGraphics::DoubleSizeName(const char* name)
{
  const std::string path = name ? name : "";
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t file = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(0, file) + "2x/" + path.substr(file);
}

int IGraphics::ScaleLength(int length, double factor)
{
  return static_cast<int>(std::lround(length * factor));
}

IBox IGraphics::ToScreen(const IBox& layout) const
{
  if (mScale == 1.0) return layout;
  const int left = ScaleLength(layout.left, mScale);
  const int top = ScaleLength(layout.top, mScale);
  return IBox(left, top, left + ScaleLength(layout.W(), mScale),
              top + ScaleLength(layout.H(), mScale));
}

int IGraphics::ToLayout(int screen) const
{
  if (mScale == 1.0) return screen;
  return static_cast<int>(std::floor(screen / mScale));
}

void IGraphics::SetScale(double factor)
{
  const double scale = QuantizeScale(factor);
  if (scale == mScale) return;
  {
    // The audio thread marks controls dirty under the plug-in lock.
    std::unique_lock<IPlugBase::Mutex> guard;
    if (mPlug) guard = std::unique_lock<IPlugBase::Mutex>(mPlug->GetMutex());
    mScale = scale;
    DropMouseCapture();
    EndGesture();
  }
  if (mDrawBitmap) PrepareDrawing();
  for (const auto& control : mControls) control->SetDirty(false);
  ScaleChanged();
}

void IGraphics::SetScreenScaleHandler(std::function<void(double)> handler)
{
  mScreenScaleHandler = std::move(handler);
}

void IGraphics::ReportScreenScale(double factor)
{
  if (mScreenScaleHandler) mScreenScaleHandler(factor);
}

bool IGraphics::BlitScaled(const IBitmapRef& bitmap, const IBox& dest, int srcX, int srcY,
                           int mode, float weight)
{
  const int frameWidth = bitmap.FrameWidth(), frameHeight = bitmap.FrameHeight();
  if (!bitmap.bitmap || frameWidth <= 0 || frameHeight <= 0) return true;
  const int scaledWidth = ScaleLength(frameWidth, mScale);
  const int scaledHeight = ScaleLength(frameHeight, mScale);
  // A source corner in a strip moves to the same frame of the scaled strip,
  // at the scaled offset within it.
  const int frameX = srcX / frameWidth, frameY = srcY / frameHeight;
  const int frame = bitmap.framesAreHorizontal ? frameX : frameY;
  const int sx = frameX * scaledWidth + ScaleLength(srcX % frameWidth, mScale);
  const int sy = frameY * scaledHeight + ScaleLength(srcY % frameHeight, mScale);

  LICE_IBitmap* picture = nullptr;
  int pictureX = sx, pictureY = sy;
  if (IScaledPicture* scaled = PictureAtScale(bitmap))
  {
    picture = scaled->WithFrame(frame);
  }
  else
  {
    // A picture of no resource has no cached strip: its frame is resampled
    // for this blit alone.
    const LICE_Rect from = bitmap.framesAreHorizontal
                               ? LICE_Rect{frame * frameWidth, 0, (frame + 1) * frameWidth, frameHeight}
                               : LICE_Rect{0, frame * frameHeight, frameWidth, (frame + 1) * frameHeight};
    if (mScratchBitmap) mScratchBitmap->Resize(scaledWidth, scaledHeight);
    if (mScratchBitmap && mScratchBitmap->Width() == scaledWidth &&
        LICE_ResampleArea(mScratchBitmap.get(), LICE_Rect{0, 0, scaledWidth, scaledHeight},
                          bitmap.bitmap, from))
    {
      picture = mScratchBitmap.get();
      pictureX = sx - (bitmap.framesAreHorizontal ? frame * scaledWidth : 0);
      pictureY = sy - (bitmap.framesAreHorizontal ? 0 : frame * scaledHeight);
    }
  }
  if (!picture) return true;

  const IBox d = ToScreen(dest);
  const IBox clip = d.Intersects(mDrawRect) ? d.Intersect(mDrawRect) : IBox();
  const LICE_Rect source = {pictureX + clip.left - d.left, pictureY + clip.top - d.top,
                            pictureX + clip.right - d.left, pictureY + clip.bottom - d.top};
  LICE_Composite(mDrawBitmap.get(), picture, clip.left, clip.top, &source, weight, mode);
  return true;
}
