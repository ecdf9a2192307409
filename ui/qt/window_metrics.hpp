// The main window's metrics for the font in use. The window keeps its base
// layout (a 538 × 319 client area, its columns and panels) scaled by one
// factor: the smallest, not below 1, at which the list's usual
// content, the column captions and every panel's text fit.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include <QFont>
#include <QSize>

#include "vellonix/ui/ui_services.hpp"

class QLabel;
class QTreeWidget;

namespace vellonix::ui::qt {

inline constexpr int kClientWidth = 538;
inline constexpr int kClientHeight = 319;
inline constexpr int kStatusBarHeight = 20;
inline constexpr std::array<int, 6> kColumnWidths{40, 112, 46, 80, 128, 112};
inline constexpr std::array<int, kStatusPanels> kPanelWidths{120, 192, 56, 98, 65};
// The panels' gap, and the room the status bar keeps around its widgets
// (left, top and bottom). The last panel takes what the others leave, to
// the window's edge.
inline constexpr int kPanelGap = 2;
inline constexpr int kStatusBarInsetLeft = 2;
inline constexpr int kStatusBarInsetHeight = 5;

struct MainWindowMetrics {
  double Scale = 1.0;
  QSize Client{kClientWidth, kClientHeight};  // below the menu bar
  std::array<int, 6> Columns = kColumnWidths;
  std::array<int, kStatusPanels> Panels = kPanelWidths;  // the last: what is left
  int StatusBarHeight = kStatusBarHeight;
};

// The widest texts each column and panel usually shows: ten-letter capital
// names, the longest type names, six-digit addresses, stamps with seconds,
// a 16-character B-DOS disk name, a full directory and an empty disk.
std::span<const std::string_view> UsualColumnTexts(int column);
std::span<const std::string_view> UsualPanelTexts(int panel);

// Measures with the list's style and font and with a panel as the status
// bar makes them (all panels alike).
MainWindowMetrics MetricsFor(const QTreeWidget& list, const QLabel& panel);

// The font of the program's windows: "MS Sans Serif" 8 point where the host
// has it, else the host's general font at 8 point.
QFont ProgramFont();

}  // namespace vellonix::ui::qt
