// MainMenu1: every item's caption, shortcut and state when the window is
// created, as one table the window builds its menus from.
#pragma once

#include <span>

#include <QKeySequence>

#include "vellonix/ui/ui_services.hpp"

namespace vellonix::ui::qt {

enum class TopMenu { File1, SAMdisk1, Options1, about1 };

struct MenuEntry {
  TopMenu Menu;
  MenuItem Item;
  const char* Caption;  // with its & mnemonic; nullptr for a separator
  QKeySequence Shortcut;
  bool Enabled;
  bool Visible = true;
};

// The top-level menus' captions, in menu-bar order.
const char* TopMenuCaption(TopMenu menu);

// The entries in menu order, separators included (Item is then unused).
std::span<const MenuEntry> MainMenuTable();

// Options and About are commands of the menu bar itself, with no menu.
inline bool IsMenuBarCommand(TopMenu menu) { return menu == TopMenu::Options1 || menu == TopMenu::about1; }

}  // namespace vellonix::ui::qt
