// The main window's base layout, as drawn for an 8-point dialog font on a
// 96-dpi screen: the client area, the list's columns, the status bar's
// panels, and the widest texts each column and panel can hold. Each
// front-end measures those texts with its own font and scales the whole
// layout by one factor (window_metrics.hpp).
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// The characters a SAM name is shown with, as UTF-8: the byte codes 32-126
// and 160-255 read as Latin-1.
std::vector<std::string> SamNameCharacters();

// The widest of them by `width`, a toolkit's measure in its font of a
// character (or of the texts made of it).
std::string WidestNameCharacter(const std::function<int(std::string_view)>& width);

// The column and the panel that show names, so SAM characters.
inline constexpr int kNameColumn = 1;
inline constexpr int kDiskNamePanel = 1;

// The widest texts each column and panel can hold, given the widest of the
// SAM name characters in the font: a ten-character name of it, the longest
// type name, the longest numbers each detail can have, a stamp with
// seconds, a 16-character B-DOS disk name of it, the fullest directory and
// the emptiest disk.
std::vector<std::string> WidestColumnTexts(int column, std::string_view widestNameCharacter);
std::vector<std::string> WidestPanelTexts(int panel, std::string_view widestNameCharacter);

// The disk name panel's text for a 16-character name of `character`: the
// one text of the panels that depends on it.
std::string DiskNamePanelText(std::string_view character);

}  // namespace vellonix::ui
