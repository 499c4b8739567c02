#pragma once

#include <cstddef>
#include <vector>

// One automatable value of the plug-in. It holds its value in its own units
// (the plain value, e.g. dB or Hz) and maps it to and from the host's 0..1
// range with a power-law shape: normalized = fraction^(1/shape).
class IParamEntry
{
public:
  enum Kind
  {
    kKindUndefined = 0,
    kKindBool = 1,
    kKindInteger = 2,
    kKindEnum = 3,
    kKindContinuous = 4,  // the only kind that is not stepped
  };

  static constexpr int kTextSize = 32;          // name, label, group, display texts
  static constexpr int kDisplayTextSize = 128;  // room FormatValue expects
  static constexpr int kMaxPrecision = 6;

  struct DisplayText
  {
    int value;
    char text[kTextSize];
  };

  IParamEntry() = default;

  void DefineContinuous(const char* name, double defaultValue, double minimum, double maximum,
                        double step, const char* label = "", const char* group = "",
                        double shape = 1.0);
  void DefineInteger(const char* name, int defaultValue, int minimum, int maximum,
                     const char* label = "", const char* group = "");
  // A choice among nTexts values 0..nTexts - 1, each shown by its display text
  // (SetDisplayText); the editor offers them as a menu.
  void DefineEnum(const char* name, int defaultValue, int nTexts, const char* label = "",
                  const char* group = "");
  void DefineBool(const char* name, bool defaultValue, const char* label = "",
                  const char* group = "");

  // A shape of 0 (or anything not a positive finite number) keeps the current one.
  void SetShape(double shape);
  void SetNegateDisplay(bool negate) { mNegateDisplay = negate; }
  void SetCanAutomate(bool canAutomate) { mCanAutomate = canAutomate; }
  // Adds a fixed text shown for one integer value, or replaces the existing one.
  void SetDisplayText(int value, const char* text);

  // Value from the host or the editor. n is clamped into 0..1 first; NaN is ignored.
  void AssignFromNormalized(double n);
  // Value restored from state: clamped into the range; NaN is ignored.
  void AssignPlain(double plain);

  double NormalizedValue() const { return PlainToNormalized(mValue); }
  double PlainToNormalized(double plain) const;
  double NormalizedToPlain(double n) const;

  // Display text of the current value, or of any plain value (the host's text
  // for a normalized value uses NormalizedToPlain, without stepping).
  void FormatValue(char* out, std::size_t size = kDisplayTextSize) const;
  void FormatPlain(double plain, char* out, std::size_t size = kDisplayTextSize) const;
  // Parses typed text as a decimal number (leading number, rest ignored, 0 when
  // none), clamps it into the range and returns its normalized value.
  double ParseNormalized(const char* text) const;

  // The label, or "" when a display text is defined for the current value.
  const char* UnitsForHost() const;

  Kind GetKind() const { return mKind; }
  bool IsStepped() const { return mKind != kKindContinuous; }
  double Value() const { return mValue; }
  double Min() const { return mMin; }
  double Max() const { return mMax; }
  double Step() const { return mStep; }
  double Shape() const { return mShape; }
  double Default() const { return mDefault; }
  int Precision() const { return mPrecision; }
  const char* Name() const { return mName; }
  const char* Label() const { return mLabel; }
  const char* Group() const { return mGroup; }
  bool NegateDisplay() const { return mNegateDisplay; }
  bool CanAutomate() const { return mCanAutomate; }
  int NDisplayTexts() const { return static_cast<int>(mDisplayTexts.size()); }
  const DisplayText* GetDisplayText(int i) const;
  // The non-empty display text for a plain value truncated toward zero, or null.
  const char* DisplayTextFor(double plain) const;

private:
  // The display text entry for a plain value truncated toward zero, or null.
  const DisplayText* FindDisplayText(double plain) const;
  // n^shape, and its inverse.
  double Shaped(double n) const;
  double Unshaped(double fraction) const;

  Kind mKind = kKindUndefined;
  double mValue = 0.0;
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  double mDefault = 0.0;
  int mPrecision = 0;
  char mName[kTextSize] = {};
  char mLabel[kTextSize] = {};
  char mGroup[kTextSize] = {};
  bool mNegateDisplay = false;
  bool mCanAutomate = true;
  std::vector<DisplayText> mDisplayTexts;
};
