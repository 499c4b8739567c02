#include "graphics/IScaledPicture.h"

#include "raster/LICE_PNGRows.h"
#include "raster/LICE_Resample.h"

IScaledPicture::IScaledPicture(LICE_IBitmap* source, int frames, bool horizontal, int frameWidth,
                               int frameHeight)
  : mSource(source), mFrames(frames > 0 ? frames : 1), mHorizontal(horizontal),
    mFrameWidth(frameWidth), mFrameHeight(frameHeight)
{
  MakeStripUnlessSourceSize();
}

IScaledPicture::IScaledPicture(LICE_PNGRows* rows, LICE_IBitmap* fallback, int frames,
                               bool horizontal, int frameWidth, int frameHeight)
  : mSource(rows ? rows->Bitmap() : fallback), mRows(rows), mFallback(fallback),
    mFrames(frames > 0 ? frames : 1), mHorizontal(horizontal), mFrameWidth(frameWidth),
    mFrameHeight(frameHeight)
{
  MakeStripUnlessSourceSize();
}

void IScaledPicture::MakeStripUnlessSourceSize()
{
  const int width = mHorizontal ? mFrameWidth * mFrames : mFrameWidth;
  const int height = mHorizontal ? mFrameHeight : mFrameHeight * mFrames;
  mStrip.reset();
  if (!mSource || (mSource->Width() == width && mSource->Height() == height)) return;
  mStrip = std::make_unique<LICE_MemBitmap>(width, height);
  mReady.assign(static_cast<size_t>(mFrames), false);
}

LICE_IBitmap* IScaledPicture::SourceWithFrame(int i)
{
  if (!mRows) return mSource;
  // Rows from the top down to the end of the frame (a row of frames is
  // needed whole).
  const int rows = mHorizontal ? mRows->Height() : (i + 1) * (mRows->Height() / mFrames);
  if (mRows->DecodeTo(rows)) return mSource;
  // Damaged data: the picture itself serves from now on, resampled.
  mRows = nullptr;
  mSource = mFallback;
  MakeStripUnlessSourceSize();
  return mSource;
}

LICE_IBitmap* IScaledPicture::WithFrame(int i)
{
  if (i < 0 || i >= mFrames) return nullptr;
  std::lock_guard<std::mutex> lock(mLock);
  LICE_IBitmap* source = SourceWithFrame(i);
  if (!source) return nullptr;
  if (!mStrip) return source;
  if (!mStrip->Pixels()) return nullptr;
  if (mReady[static_cast<size_t>(i)]) return mStrip.get();
  const int sw = mHorizontal ? source->Width() / mFrames : source->Width();
  const int sh = mHorizontal ? source->Height() : source->Height() / mFrames;
  const LICE_Rect from = mHorizontal ? LICE_Rect{i * sw, 0, (i + 1) * sw, sh}
                                     : LICE_Rect{0, i * sh, sw, (i + 1) * sh};
  const LICE_Rect to = mHorizontal
                           ? LICE_Rect{i * mFrameWidth, 0, (i + 1) * mFrameWidth, mFrameHeight}
                           : LICE_Rect{0, i * mFrameHeight, mFrameWidth, (i + 1) * mFrameHeight};
  if (!LICE_ResampleArea(mStrip.get(), to, source, from)) return nullptr;
  mReady[static_cast<size_t>(i)] = true;
  return mStrip.get();
}
