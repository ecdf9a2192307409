// MainMenu1: every item's caption, shortcut, state when the window is
// created and command, as one table that each front-end builds its menus
// and accelerators from.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "vellonix/ui/form1.hpp"
#include "vellonix/ui/ui_services.hpp"

namespace vellonix::ui {

enum class TopMenu { File1, SAMdisk1, Options1, about1 };

// A shortcut in the words both toolkits read: Ctrl or nothing, then a key
// named as menus show it ("O", "F12", "Del"). No key: no shortcut.
struct ShortcutKey {
  bool Ctrl = false;
  std::string_view Key;

  bool None() const { return Key.empty(); }
  // "Ctrl+O", "F12", "Del"; empty for none.
  std::string Text() const { return None() ? std::string() : (Ctrl ? "Ctrl+" : "") + std::string(Key); }
};

struct MenuEntry {
  TopMenu Menu;
  MenuItem Item;
  const char* Caption;  // with its & mnemonic; nullptr for a separator
  ShortcutKey Shortcut;
  bool Enabled;
  bool Visible = true;
};

// The top-level menus' captions, in menu-bar order.
const char* TopMenuCaption(TopMenu menu);

// The entries in menu order, separators included (Item is then unused).
std::span<const MenuEntry> MainMenuTable();

// Options and About are commands of the menu bar itself, with no menu.
inline bool IsMenuBarCommand(TopMenu menu) { return menu == TopMenu::Options1 || menu == TopMenu::about1; }

// The TForm1 command an item runs; none for Format, which has none.
using MenuCommand = void (TForm1::*)();
MenuCommand CommandOf(MenuItem item);

}  // namespace vellonix::ui
