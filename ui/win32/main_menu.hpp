// MainMenu1 on Windows: the menu bar and the accelerator table, built from
// the shared menu table. Each item's command id is its MenuItem's number
// from kFirstMenuCommand.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "vellonix/ui/main_menu.hpp"

namespace vellonix::ui::win {

inline constexpr UINT kFirstMenuCommand = 100;

inline UINT CommandId(MenuItem item) { return kFirstMenuCommand + static_cast<UINT>(item); }
std::optional<MenuItem> MenuItemOf(UINT commandId);

// The virtual key a shortcut names ("O", "F12", "Del"); none for a name
// this table does not use.
std::optional<WORD> VirtualKeyOf(std::string_view key);

// The menu bar with every visible item in its state at creation, each
// shortcut shown after a tab.
HMENU BuildMainMenu();
// The accelerators of the items that have a shortcut; the caller destroys it.
HACCEL BuildAccelerators();

}  // namespace vellonix::ui::win
