// Popup menus: how an IMenu becomes a Win32 menu, and which menu holds the
// user's choice, in a real menu answered by keys.

#include "desktop_support.h"
#include "platform/win/WinDesktop.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<IMenu> MenuOf(int prefix, std::vector<const char*> texts)
{
  auto menu = std::make_unique<IMenu>(prefix);
  for (const char* text : texts) menu->AddItem(text);
  return menu;
}

// Top (one digit): Low, Mid (disabled), separator, Head (title), On (checked),
// More -> A, Last -> C. A (two digits): a, b -> B, c. B (three digits): x, y.
// C (no prefix): the one long item.
struct NestedMenu
{
  std::unique_ptr<IMenu> top = std::make_unique<IMenu>(IMenu::kPrefixOneDigit);
  IMenu* a;
  IMenu* b;
  IMenu* c;
  std::string longText = std::string(2000, 'w');

  NestedMenu()
  {
    auto subA = MenuOf(IMenu::kPrefixTwoDigits, {"a"});
    auto subB = MenuOf(IMenu::kPrefixThreeDigits, {"x", "y"});
    b = subB.get();
    subA->AddItem("b", 0, std::move(subB));
    subA->AddItem("c");
    a = subA.get();
    auto subC = MenuOf(IMenu::kPrefixNone, {longText.c_str()});
    c = subC.get();
    top->AddItem("Low");
    top->AddItem("Mid", IMenuItem::kDisabled);
    top->AddSeparator();
    top->AddItem("Head", IMenuItem::kTitle);
    top->AddItem("On", IMenuItem::kChecked);
    top->AddItem("More", 0, std::move(subA));
    top->AddItem("Last", 0, std::move(subC));
  }
};

std::string LabelAt(HMENU menu, int position)
{
  char text[4096] = "";
  GetMenuStringA(menu, UINT(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

TEST(DesktopMenu, BuildsItemsWithDepthFirstIdsFlagsAndNumberedLabelsAndMapsCommandsBack)
{
  NestedMenu m;
  std::vector<WinSubmenuBlock> blocks;
  HMENU top = WinBuildPopupMenu(*m.top, blocks);
  ASSERT_NE(top, nullptr);
  ASSERT_EQ(GetMenuItemCount(top), 7);
  HMENU a = GetSubMenu(top, 5);
  HMENU c = GetSubMenu(top, 6);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(c, nullptr);
  HMENU b = GetSubMenu(a, 1);
  ASSERT_NE(b, nullptr);

  // Each submenu's block follows the blocks already handed out when its item is reached.
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_EQ(blocks[0].menu, m.a);
  EXPECT_EQ(blocks[0].firstId, 7);
  EXPECT_EQ(blocks[1].menu, m.b);
  EXPECT_EQ(blocks[1].firstId, 10);
  EXPECT_EQ(blocks[2].menu, m.c);
  EXPECT_EQ(blocks[2].firstId, 12);

  const UINT kPopup = UINT(-1);  // GetMenuItemID of an item that opens a submenu
  const struct {
    HMENU menu;
    int position;
    UINT id;
    std::string label;
    UINT state;  // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_SEPARATOR, MF_POPUP
  } items[] = {
      {top, 0, 0, "1: Low", 0},
      {top, 1, 1, "2: Mid", MF_GRAYED},
      {top, 2, 0, "", MF_SEPARATOR},
      {top, 3, 3, "4: Head", MF_DISABLED},
      {top, 4, 4, "5: On", MF_CHECKED},
      {top, 5, kPopup, "6: More", MF_POPUP},
      {top, 6, kPopup, "7: Last", MF_POPUP},
      {a, 0, 7, "01: a", 0},
      {a, 1, kPopup, "02: b", MF_POPUP},
      {a, 2, 9, "03: c", 0},
      {b, 0, 10, "001: x", 0},
      {b, 1, 11, "002: y", 0},
      {c, 0, 12, m.longText, 0},  // a long text arrives whole
  };
  const UINT kStates = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_POPUP;
  for (const auto& item : items) {
    SCOPED_TRACE(item.label.substr(0, 12));
    if (!(item.state & MF_SEPARATOR)) {
      EXPECT_EQ(GetMenuItemID(item.menu, item.position), item.id);
      EXPECT_EQ(LabelAt(item.menu, item.position), item.label);
    }
    // Separators also report themselves disabled; only their kind is checked.
    const UINT mask = (item.state & MF_SEPARATOR) ? UINT(MF_SEPARATOR) : kStates;
    EXPECT_EQ(GetMenuState(item.menu, UINT(item.position), MF_BYPOSITION) & mask, item.state);
  }

  // A command names the menu that holds it, which takes its own index.
  EXPECT_EQ(WinMenuForCommand(*m.top, blocks, 11), m.b);
  EXPECT_EQ(m.b->ChosenItemIdx(), 1);
  EXPECT_EQ(WinMenuForCommand(*m.top, blocks, 13), nullptr);
  EXPECT_EQ(m.top->ChosenItemIdx(), -1);
  DestroyMenu(top);
}

// Keys for the open menu, posted to its thread's queue as the keyboard would.
struct Key
{
  UINT message;
  WPARAM code;
};

TEST(DesktopMenu, ShownMenuGivesTheMenuHoldingTheChoiceOrNull)
{
  const Key down{WM_KEYDOWN, VK_DOWN}, right{WM_KEYDOWN, VK_RIGHT}, enter{WM_CHAR, '\r'},
      escape{WM_KEYDOWN, VK_ESCAPE};
  // One, Two -> (Alpha, Beta), Three.
  const struct {
    const char* what;
    std::vector<Key> keys;
    int menu;  // 0 top, 1 submenu, -1 none
    int index;
  } cases[] = {
      {"nothing chosen", {escape}, -1, -1},
      {"top item", {down, down, down, enter}, 0, 2},
      {"submenu item", {down, down, right, down, enter}, 1, 1},
  };
  TestHostWindows windows;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    IMenu top;
    top.AddItem("One");
    top.AddItem("Two", 0, MenuOf(IMenu::kPrefixNone, {"Alpha", "Beta"}));
    top.AddItem("Three");
    IMenu* const menus[] = {&top, top.GetItem(1)->Submenu()};

    ModalActor actor([] { return FindVisibleWindow("#32768"); },
                     [&c](HWND menuWindow) {
                       for (const Key& key : c.keys) PostMessageA(menuWindow, key.message, key.code, 0);
                     });
    IMenu* chosen = WinShowPopupMenu(windows.editor, &top, IBox(20, 10, 60, 30));
    ASSERT_TRUE(actor.Finish());
    EXPECT_EQ(chosen, c.menu < 0 ? nullptr : menus[c.menu]);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(menus[i]->ChosenItemIdx(), i == c.menu ? c.index : -1);
  }
}

}  // namespace
