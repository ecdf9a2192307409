// The main window's metrics for the font in use: the shared base layout
// scaled by one factor, measured with the list's style and a status panel
// as the window makes them.
#pragma once

#include "vellonix/ui/window_metrics.hpp"

class QLabel;
class QTreeWidget;

namespace vellonix::ui::qt {

// The panels' gap, and the room the status bar keeps around its widgets
// (left, top and bottom).
inline constexpr int kPanelGap = 2;
inline constexpr int kStatusBarInsetLeft = 2;
inline constexpr int kStatusBarInsetHeight = 5;
inline constexpr StatusBarFrame kStatusBarFrame{kPanelGap, kStatusBarInsetLeft, kStatusBarInsetHeight};

// Measures with the list's style and font and with a panel as the status
// bar makes them (all panels alike).
MainWindowMetrics MetricsFor(const QTreeWidget& list, const QLabel& panel);

}  // namespace vellonix::ui::qt
