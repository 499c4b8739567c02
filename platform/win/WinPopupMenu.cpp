#include "platform/win/WinDesktop.h"

namespace {

// Appends menu's items to the Win32 menu; its items' ids start at firstId and
// nextFreeId is where the next submenu's block starts.
HMENU BuildMenu(IMenu& menu, int firstId, int& nextFreeId, std::vector<WinSubmenuBlock>& submenus)
{
  HMENU built = CreatePopupMenu();
  if (!built) return nullptr;
  for (int i = 0; i < menu.NItems(); ++i) {
    const IMenuItem* item = menu.GetItem(i);
    // Item texts are whole strings that the menu copies: nothing is cut.
    const std::string label = menu.ItemLabel(i);
    const int flags = item->Flags();
    if (flags & IMenuItem::kSeparator) {
      AppendMenuA(built, MF_SEPARATOR, 0, nullptr);
    } else if (IMenu* submenu = item->Submenu()) {
      const int subFirstId = nextFreeId;
      nextFreeId += submenu->NItems();
      submenus.push_back({submenu, subFirstId});
      if (HMENU sub = BuildMenu(*submenu, subFirstId, nextFreeId, submenus))
        AppendMenuA(built, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), label.c_str());
    } else {
      UINT state = MF_STRING;
      if (flags & IMenuItem::kDisabled) state |= MF_GRAYED;
      if (flags & IMenuItem::kTitle) state |= MF_DISABLED;
      if (flags & IMenuItem::kChecked) state |= MF_CHECKED;
      AppendMenuA(built, state, static_cast<UINT_PTR>(firstId + i), label.c_str());
    }
  }
  return built;
}

}  // namespace

HMENU WinBuildPopupMenu(IMenu& menu, std::vector<WinSubmenuBlock>& submenus)
{
  submenus.clear();
  int nextFreeId = menu.NItems();
  return BuildMenu(menu, 0, nextFreeId, submenus);
}

IMenu* WinMenuForCommand(IMenu& menu, const std::vector<WinSubmenuBlock>& submenus, int id)
{
  IMenu* holder = nullptr;
  int index = -1;
  if (id >= 0 && id < menu.NItems()) {
    holder = &menu;
    index = id;
  } else {
    for (const WinSubmenuBlock& block : submenus) {
      if (id >= block.firstId && id < block.firstId + block.menu->NItems()) {
        holder = block.menu;
        index = id - block.firstId;
        break;
      }
    }
  }
  if (holder) holder->SetChosenItemIdx(index);
  return holder;
}

IMenu* WinShowPopupMenu(HWND owner, IMenu* menu, const IBox& box)
{
  if (!menu) return nullptr;
  std::vector<WinSubmenuBlock> submenus;
  HMENU built = WinBuildPopupMenu(*menu, submenus);
  if (!built) return nullptr;

  POINT at = {box.left, box.bottom};
  ClientToScreen(owner, &at);
  TrackPopupMenu(built, TPM_LEFTBUTTON, at.x, at.y, 0, owner, nullptr);

  // The menu posts the chosen item's id as a command to its owner.
  IMenu* chosen = nullptr;
  MSG msg;
  if (PeekMessageA(&msg, owner, WM_COMMAND, WM_COMMAND, PM_REMOVE) && HIWORD(msg.wParam) == 0)
    chosen = WinMenuForCommand(*menu, submenus, LOWORD(msg.wParam));
  DestroyMenu(built);
  return chosen;
}
