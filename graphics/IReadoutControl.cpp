#include "graphics/IReadoutControl.h"

#include "graphics/IGraphics.h"

#include <chrono>
#include <cstring>

int64_t IReadoutControl::SteadyMs()
{
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

IReadoutControl::IReadoutControl(IPlugBase* plug, const IBox& plate, const IBitmapRef& blankPlate,
                                 const IBitmapRef& glyphs, const IGlyphStrip& strip,
                                 Describe describe, Clock clock)
  : IControl(plug, plate), mPlate(blankPlate), mGlyphs(glyphs), mStrip(strip),
    mDescribe(std::move(describe)), mClock(std::move(clock))
{
  // Nothing is drawn until a control is touched: the background's plate shows.
  SetClean();
}

void IReadoutControl::PointerOn(int c)
{
  std::string name, value;
  mPointerOnControl = c >= 0 && mDescribe(c, name, value);
  if (mPointerOnControl) mTouched = c;
}

void IReadoutControl::Edited(int c)
{
  std::string name, value;
  if (c < 0 || !mDescribe(c, name, value)) return;
  mTouched = c;
  mEdited = true;
  mLastEdit = mClock();
}

std::string IReadoutControl::CurrentText() const
{
  if (mTouched < 0) return std::string();
  if (!mPointerOnControl && !(mEdited && mClock() - mLastEdit < kLingerMs)) return std::string();
  std::string name, value;
  if (!mDescribe(mTouched, name, value)) return std::string();
  return name + "\n" + value;
}

bool IReadoutControl::IsDirty() const
{
  return IControl::IsDirty() || CurrentText() != mDrawnText;
}

int IReadoutControl::Advance(int line, char c) const
{
  const char* at = c ? std::strchr(mStrip.charset, c) : nullptr;
  if (!at) at = std::strchr(mStrip.charset, ' ');
  return at ? mStrip.advance[line][at - mStrip.charset] : 0;
}

int IReadoutControl::LineStart(int line, const std::string& text) const
{
  int width = 0;
  for (char c : text) width += Advance(line, c);
  if (!text.empty()) width -= mStrip.tracking[line];
  return mBox.left + (mBox.W() - width) / 2;
}

void IReadoutControl::DrawLine(IGraphics& graphics, int line, const std::string& text)
{
  const IBlend blend(IBlend::kBlendNone, 1.0f);
  int pen = LineStart(line, text);
  const int top = mBox.top + mStrip.lineBaseline[line] - mStrip.baseline;
  for (char c : text)
  {
    const char* at = std::strchr(mStrip.charset, c);
    if (c != ' ' && at)
    {
      const int cell = static_cast<int>(at - mStrip.charset);
      const IBox dest(pen - mStrip.pad, top, pen - mStrip.pad + mStrip.cellWidth, top + mStrip.frameHeight);
      graphics.BlitBitmap(mGlyphs, dest, cell * mStrip.cellWidth, line * mStrip.frameHeight, &blend);
    }
    pen += Advance(line, c);
  }
}

bool IReadoutControl::Draw(IGraphics& graphics)
{
  mDrawnText = CurrentText();
  if (mDrawnText.empty()) return true;
  // The blank plate is opaque: copied, it is the same pixels for less work.
  const IBlend copy(IBlend::kBlendClobber, 1.0f);
  graphics.BlitBitmap(mPlate, mBox, 0, 0, &copy);
  const std::size_t split = mDrawnText.find('\n');
  DrawLine(graphics, 0, mDrawnText.substr(0, split));
  DrawLine(graphics, 1, mDrawnText.substr(split + 1));
  return true;
}
