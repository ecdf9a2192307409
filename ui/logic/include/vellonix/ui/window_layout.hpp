// The main window's base layout, as drawn for an 8-point dialog font on a
// 96-dpi screen: the client area, the list's columns, the status bar's
// panels, and the texts each column and panel usually shows at its widest.
// Each front-end measures those texts with its own font and scales the
// whole layout by one factor (window_metrics.hpp).
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "vellonix/ui/ui_services.hpp"

namespace vellonix::ui {

struct Size {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

inline constexpr Size kMainClient{538, 319};  // the menu bar not counted
inline constexpr int kStatusBarHeight = 20;

inline constexpr int kListColumns = 6;
inline constexpr std::array<const char*, kListColumns> kColumnCaptions{"File #", "Filename", "Size",
                                                                       "Type",   "Details",  "Date stamp"};
inline constexpr std::array<int, kListColumns> kColumnWidths{40, 112, 46, 80, 128, 112};
// File # carries the row marks, Filename the type icons.
inline constexpr bool ColumnHasIcon(int column) { return column <= 1; }

inline constexpr std::array<int, kStatusPanels> kPanelWidths{120, 192, 56, 98, 65};

// The widest texts each column and panel usually shows: ten-letter capital
// names, the longest type names, six-digit addresses, stamps with seconds,
// a 16-character B-DOS disk name, a full directory and an empty disk.
std::span<const std::string_view> UsualColumnTexts(int column);
std::span<const std::string_view> UsualPanelTexts(int panel);

}  // namespace vellonix::ui
