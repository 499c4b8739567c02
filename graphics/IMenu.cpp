#include "graphics/IMenu.h"

#include <cstdio>

IMenuItem::IMenuItem(const char* text, int flags, std::unique_ptr<IMenu> submenu)
  : mText(text ? text : ""), mFlags(flags), mSubmenu(std::move(submenu))
{
}

IMenuItem::~IMenuItem() = default;

IMenuItem* IMenu::AddItem(const char* text, int flags, std::unique_ptr<IMenu> submenu)
{
  mItems.push_back(std::make_unique<IMenuItem>(text, flags, std::move(submenu)));
  return mItems.back().get();
}

IMenuItem* IMenu::GetItem(int i) const
{
  if (i < 0 || i >= NItems()) return nullptr;
  return mItems[static_cast<std::size_t>(i)].get();
}

std::string IMenu::ItemLabel(int i) const
{
  const IMenuItem* item = GetItem(i);
  if (!item) return std::string();
  static const char* const kFormats[] = {nullptr, "%1d: %s", "%02d: %s", "%03d: %s"};
  if (mPrefix < kPrefixOneDigit || mPrefix > kPrefixThreeDigits) return item->Text();
  // The number takes at most 11 characters; the text is never cut.
  std::string label(item->Text());
  std::string out(label.size() + 16, '\0');
  const int n = std::snprintf(&out[0], out.size(), kFormats[mPrefix], i + 1, label.c_str());
  out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return out;
}
