#include "graphics/IScaledPicture.h"

#include "raster/LICE_Resample.h"

IScaledPicture::IScaledPicture(LICE_IBitmap* source, int frames, bool horizontal, int frameWidth,
                               int frameHeight)
  : mSource(source), mFrames(frames > 0 ? frames : 1), mHorizontal(horizontal),
    mFrameWidth(frameWidth), mFrameHeight(frameHeight)
{
  const int width = horizontal ? frameWidth * mFrames : frameWidth;
  const int height = horizontal ? frameHeight : frameHeight * mFrames;
  if (!source || (source->Width() == width && source->Height() == height)) return;
  mStrip = std::make_unique<LICE_MemBitmap>(width, height);
  mReady.assign(static_cast<size_t>(mFrames), false);
}

LICE_IBitmap* IScaledPicture::WithFrame(int i)
{
  if (!mSource) return nullptr;
  if (!mStrip) return mSource;
  if (i < 0 || i >= mFrames || !mStrip->Pixels()) return nullptr;
  std::lock_guard<std::mutex> lock(mLock);
  if (mReady[static_cast<size_t>(i)]) return mStrip.get();
  const int sw = mHorizontal ? mSource->Width() / mFrames : mSource->Width();
  const int sh = mHorizontal ? mSource->Height() : mSource->Height() / mFrames;
  const LICE_Rect from = mHorizontal ? LICE_Rect{i * sw, 0, (i + 1) * sw, sh}
                                     : LICE_Rect{0, i * sh, sw, (i + 1) * sh};
  const LICE_Rect to = mHorizontal
                           ? LICE_Rect{i * mFrameWidth, 0, (i + 1) * mFrameWidth, mFrameHeight}
                           : LICE_Rect{0, i * mFrameHeight, mFrameWidth, (i + 1) * mFrameHeight};
  if (!LICE_ResampleArea(mStrip.get(), to, mSource, from)) return nullptr;
  mReady[static_cast<size_t>(i)] = true;
  return mStrip.get();
}
