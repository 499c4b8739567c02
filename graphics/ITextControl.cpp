#include "graphics/ITextControl.h"

#include "graphics/IGraphics.h"

ITextControl::ITextControl(IPlugBase* plug, const IBox& box, const ITextStyle& style,
                           const char* text)
  : IControl(plug, box), mString(text ? text : "")
{
  mText = style;
}

bool ITextControl::Draw(IGraphics& graphics)
{
  return graphics.DrawStyledText(mText, mString.c_str(), mBox);
}

void ITextControl::SetTextFromPlug(const char* text)
{
  if (!text) text = "";
  if (mString == text) return;
  SetDirty(false);
  mString = text;
}
