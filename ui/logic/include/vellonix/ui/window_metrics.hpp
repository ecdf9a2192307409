// The arithmetic that fits a base layout to a font: every size is scaled by
// one factor, the smallest (not below a floor) at which each measured text
// fits the room the base layout gives it. The measuring belongs to each
// toolkit; what it measured comes in here as pixels.
#pragma once

#include <array>
#include <span>

#include "vellonix/ui/window_layout.hpp"

namespace vellonix::ui {

// A text's need against its room in the base layout, both in pixels.
struct TextFit {
  int Needed = 0;
  int Available = 1;
};

// The smallest factor, not below `floor`, at which every need fits its room
// scaled by it.
double FitScale(std::span<const TextFit> fits, double floor = 1.0);

// A base-layout length scaled by `scale`, rounded up so that nothing scaled
// falls short of what it was fitted for.
int Scaled(int pixels, double scale);
Rect Scaled(const Rect& rect, double scale);
Size Scaled(const Size& size, double scale);

// What a toolkit measured in the main window with its font: for each column
// the widest of its usual cells (icon included) and of its caption, for
// each panel the widest of its usual texts as a panel shows them, and the
// tallest of those.
struct MainWindowTexts {
  std::array<int, kListColumns> Columns{};
  std::array<int, kStatusPanels> Panels{};
  int PanelHeight = 0;
};

// How the toolkit's status bar places its panels: the gap between two, the
// room left of the first, and the room above and below a panel's text. The
// last panel takes what the others leave, to the window's edge.
struct StatusBarFrame {
  int PanelGap = 0;
  int InsetLeft = 0;
  int InsetHeight = 0;
};

struct MainWindowMetrics {
  double Scale = 1.0;
  Size Client = kMainClient;
  std::array<int, kListColumns> Columns = kColumnWidths;
  std::array<int, kStatusPanels> Panels = kPanelWidths;  // the last: what is left
  int StatusBarHeight = kStatusBarHeight;
  friend bool operator==(const MainWindowMetrics&, const MainWindowMetrics&) = default;
};

// The base layout scaled so that every measured text fits; `floor` is the
// least scale (the screen's, where the toolkit leaves that to the program).
MainWindowMetrics FitMainWindow(const MainWindowTexts& texts, const StatusBarFrame& frame, double floor = 1.0);

// The metrics cut to `room`, the most the screen has for the client area:
// the window never opens larger than the screen. The list keeps its
// columns and scrolls sideways; the panels share the width that is left in
// their proportions (each shows its whole text as its tool tip).
MainWindowMetrics LimitToRoom(MainWindowMetrics metrics, const StatusBarFrame& frame, const Size& room);

}  // namespace vellonix::ui
