#pragma once

#include <memory>
#include <string>
#include <vector>

class IMenu;

// One entry of a popup menu; it may open a submenu of its own.
class IMenuItem
{
public:
  enum Flags
  {
    kDisabled = 1,
    kTitle = 2,
    kChecked = 4,
    kSeparator = 8
  };

  explicit IMenuItem(const char* text, int flags = 0, std::unique_ptr<IMenu> submenu = nullptr);
  ~IMenuItem();

  const char* Text() const { return mText.c_str(); }
  int Flags() const { return mFlags; }
  void SetFlags(int flags) { mFlags = flags; }
  bool Checked() const { return (mFlags & kChecked) != 0; }
  IMenu* Submenu() const { return mSubmenu.get(); }

private:
  std::string mText;
  int mFlags;
  std::unique_ptr<IMenu> mSubmenu;
};

// A popup menu: items in order, an optional numbering prefix for their texts,
// and, once the user has chosen, the index of the chosen item.
class IMenu
{
public:
  enum Prefix
  {
    kPrefixNone = 0,
    kPrefixOneDigit = 1,    // "%1d: %s"
    kPrefixTwoDigits = 2,   // "%02d: %s"
    kPrefixThreeDigits = 3  // "%03d: %s"
  };

  explicit IMenu(int prefix = kPrefixNone) : mPrefix(prefix) {}

  IMenuItem* AddItem(const char* text, int flags = 0, std::unique_ptr<IMenu> submenu = nullptr);
  IMenuItem* AddSeparator() { return AddItem("", IMenuItem::kSeparator); }

  int NItems() const { return static_cast<int>(mItems.size()); }
  IMenuItem* GetItem(int i) const;
  int Prefix() const { return mPrefix; }
  // The text an item shows, numbered from 1 within this menu when a prefix is set.
  std::string ItemLabel(int i) const;

  int ChosenItemIdx() const { return mChosen; }
  void SetChosenItemIdx(int i) { mChosen = i; }

private:
  int mPrefix;
  int mChosen = -1;
  std::vector<std::unique_ptr<IMenuItem>> mItems;
};
