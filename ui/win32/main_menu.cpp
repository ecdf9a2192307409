#include "main_menu.hpp"

#include <array>
#include <charconv>
#include <vector>

#include "host_text.hpp"

namespace vellonix::ui::win {

std::optional<MenuItem> MenuItemOf(UINT commandId) {
  if (commandId < kFirstMenuCommand || commandId >= kFirstMenuCommand + kMenuItemCount) return std::nullopt;
  return static_cast<MenuItem>(commandId - kFirstMenuCommand);
}

std::optional<WORD> VirtualKeyOf(std::string_view key) {
  if (key == "Del") return VK_DELETE;
  if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z') return static_cast<WORD>(key[0]);
  int number = 0;
  if (key.size() > 1 && key[0] == 'F') {
    const auto [end, error] = std::from_chars(key.data() + 1, key.data() + key.size(), number);
    if (error == std::errc() && end == key.data() + key.size() && number >= 1 && number <= 24)
      return static_cast<WORD>(VK_F1 + number - 1);
  }
  return std::nullopt;
}

HMENU BuildMainMenu() {
  HMENU bar = CreateMenu();
  std::array<HMENU, 4> menus{};
  for (const MenuEntry& entry : MainMenuTable()) {
    if (!entry.Visible) continue;
    const UINT state = entry.Enabled ? MF_ENABLED : MF_GRAYED;
    if (IsMenuBarCommand(entry.Menu)) {
      AppendMenuW(bar, MF_STRING | state, CommandId(entry.Item), Wide(entry.Caption).c_str());
      continue;
    }
    HMENU& menu = menus[static_cast<std::size_t>(entry.Menu)];
    if (menu == nullptr) {
      menu = CreatePopupMenu();
      AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), Wide(TopMenuCaption(entry.Menu)).c_str());
    }
    if (entry.Caption == nullptr) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::wstring caption = Wide(entry.Caption);
    if (!entry.Shortcut.None()) caption += L"\t" + Wide(entry.Shortcut.Text());
    AppendMenuW(menu, MF_STRING | state, CommandId(entry.Item), caption.c_str());
  }
  return bar;
}

HACCEL BuildAccelerators() {
  std::vector<ACCEL> table;
  for (const MenuEntry& entry : MainMenuTable()) {
    if (entry.Caption == nullptr || entry.Shortcut.None()) continue;
    if (const std::optional<WORD> key = VirtualKeyOf(entry.Shortcut.Key)) {
      const BYTE flags = FVIRTKEY | (entry.Shortcut.Ctrl ? FCONTROL : 0);
      table.push_back({flags, *key, static_cast<WORD>(CommandId(entry.Item))});
    }
  }
  return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

}  // namespace vellonix::ui::win
