#pragma once

#include "raster/LICE_MemBitmap.h"

class LICE_PNGRows;

#include <memory>
#include <mutex>
#include <vector>

// An editor picture at a screen factor: its strip of frames at the factor's
// size, made frame by frame from a larger source (the picture's double-size
// version, or the picture itself where there is none) the first time each
// frame is drawn, so opening an editor resamples only what it shows. At the
// source's own size the source is used as it is. A double-size source may
// itself be decoded only as far as the frames drawn so far.
class IScaledPicture
{
public:
  // source belongs to the module's image cache and outlives this. frames and
  // their direction as the picture's own; frameWidth x frameHeight is one
  // frame at the factor.
  IScaledPicture(LICE_IBitmap* source, int frames, bool horizontal, int frameWidth,
                 int frameHeight);
  // From a double-size source decoded as its frames are wanted; should that
  // decoding fail, from fallback (the picture itself). Both belong to the
  // module's image cache.
  IScaledPicture(LICE_PNGRows* rows, LICE_IBitmap* fallback, int frames, bool horizontal,
                 int frameWidth, int frameHeight);

  IScaledPicture(const IScaledPicture&) = delete;
  IScaledPicture& operator=(const IScaledPicture&) = delete;

  // The strip with frame i ready to draw; null when it cannot be had.
  LICE_IBitmap* WithFrame(int i);

private:
  // The source with frame i decoded, or null when it cannot be had.
  LICE_IBitmap* SourceWithFrame(int i);
  void MakeStripUnlessSourceSize();

  LICE_IBitmap* mSource;
  LICE_PNGRows* mRows = nullptr;
  LICE_IBitmap* mFallback = nullptr;
  int mFrames;
  bool mHorizontal;
  int mFrameWidth;
  int mFrameHeight;
  std::unique_ptr<LICE_MemBitmap> mStrip;  // null while the source serves as it is
  std::mutex mLock;                        // editors on several threads share it
  std::vector<bool> mReady;
};
