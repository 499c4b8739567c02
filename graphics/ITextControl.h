#pragma once

#include "graphics/IControl.h"

#include <string>

// A line of text drawn in the control's style, for showing a value or a name.
class ITextControl : public IControl
{
public:
  ITextControl(IPlugBase* plug, const IBox& box, const ITextStyle& style, const char* text = "");

  bool Draw(IGraphics& graphics) override;

  // Replaces the text and marks the control, when the text differs.
  void SetTextFromPlug(const char* text);
  const char* GetTextString() const { return mString.c_str(); }

private:
  std::string mString;
};
