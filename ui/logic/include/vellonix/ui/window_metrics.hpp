// The arithmetic that fits a base layout to a font: every size is scaled by
// one factor, the smallest (not below a floor) at which each measured text
// fits the room the base layout gives it. The measuring belongs to each
// toolkit; what it measured comes in here as pixels.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string_view>

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

// A word-wrapped text: the height its lines take at a width, in pixels,
// against the size of its place in the base layout.
struct WrappedTextFit {
  std::function<int(int width)> HeightAt;
  Size Available;
};

// How every dialog of the program fits its base layout to a font: the
// smallest factor, not below `floor`, at which each single-line text fits
// its place, widened in steps of 5% while a wrapped text's lines are taller
// than its place (a narrower place wraps into more lines).
double DialogScale(std::span<const TextFit> fits, std::span<const WrappedTextFit> wrapped, double floor = 1.0);

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

// How a toolkit measures the main window's texts in its font, in pixels: a
// cell of a column holding a text (its icon and padding included), a
// column's caption, and a status panel showing a text (frame included).
struct MainWindowMeasure {
  std::function<int(int column, std::string_view text)> Cell;
  std::function<int(int column)> Caption;
  std::function<Size(std::string_view text)> Panel;
};

// What the main window must hold, by `measure`: each column's and panel's
// widest texts, with the SAM name character widest in the list's and the
// panels' font.
MainWindowTexts MeasureMainWindow(const MainWindowMeasure& measure);

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

// A window never opens larger than the screen: `frame` moved, and shrunk
// where it must, to lie within `area` (the screen's work area).
Rect WithinArea(const Rect& frame, const Rect& area);

// The panels' widths in a client area `clientWidth` wide. Where a small
// screen made the window narrower than its metrics, every panel gives up the
// same share, so that the last one stays in view (its text may be cut).
std::array<int, kStatusPanels> PanelsWithin(const MainWindowMetrics& metrics, const StatusBarFrame& frame,
                                            int clientWidth);

}  // namespace vellonix::ui
