#include "vellonix/ui/window_metrics.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

namespace vellonix::ui {

double FitScale(std::span<const TextFit> fits, double floor) {
  double scale = floor;
  for (const TextFit& fit : fits) scale = std::max(scale, static_cast<double>(fit.Needed) / std::max(fit.Available, 1));
  return scale;
}

double DialogScale(std::span<const TextFit> fits, std::span<const WrappedTextFit> wrapped, double floor) {
  // A text that no width lets fit stops the widening at 4 times the need of the rest.
  const double single = FitScale(fits, floor);
  const auto allFit = [wrapped](double at) {
    return std::all_of(wrapped.begin(), wrapped.end(), [at](const WrappedTextFit& text) {
      return text.HeightAt(Scaled(text.Available.Width, at)) <= Scaled(text.Available.Height, at);
    });
  };
  double scale = single;
  while (!allFit(scale) && scale < 4 * single) scale *= 1.05;
  return scale;
}

int Scaled(int pixels, double scale) { return static_cast<int>(std::ceil(pixels * scale)); }

Rect Scaled(const Rect& rect, double scale) {
  return {Scaled(rect.Left, scale), Scaled(rect.Top, scale), Scaled(rect.Width, scale), Scaled(rect.Height, scale)};
}

Size Scaled(const Size& size, double scale) { return {Scaled(size.Width, scale), Scaled(size.Height, scale)}; }

MainWindowTexts MeasureMainWindow(const MainWindowMeasure& measure) {
  const auto widestCell = [&measure](int column, std::string_view character) {
    int widest = 0;
    for (const std::string& text : WidestColumnTexts(column, character)) widest = std::max(widest, measure.Cell(column, text));
    return widest;
  };
  const auto widestPanel = [&measure](int panel, std::string_view character) {
    Size widest;
    for (const std::string& text : WidestPanelTexts(panel, character)) {
      const Size size = measure.Panel(text);
      widest = {std::max(widest.Width, size.Width), std::max(widest.Height, size.Height)};
    }
    return widest;
  };
  // The character is the one whose name is widest as a whole: one
  // character's width, rounded to pixels, may not tell.
  const std::string inList = WidestNameCharacter([&](std::string_view ch) { return widestCell(kNameColumn, ch); });
  const std::string inPanels =
      WidestNameCharacter([&](std::string_view ch) { return measure.Panel(DiskNamePanelText(ch)).Width; });
  MainWindowTexts texts;
  for (int column = 0; column < kListColumns; ++column)
    texts.Columns[static_cast<std::size_t>(column)] = std::max(measure.Caption(column), widestCell(column, inList));
  for (int panel = 0; panel < kStatusPanels; ++panel) {
    const Size widest = widestPanel(panel, inPanels);
    texts.Panels[static_cast<std::size_t>(panel)] = widest.Width;
    texts.PanelHeight = std::max(texts.PanelHeight, widest.Height);
  }
  return texts;
}

MainWindowMetrics FitMainWindow(const MainWindowTexts& texts, const StatusBarFrame& frame, double floor) {
  constexpr int kLast = kStatusPanels - 1;
  const int fixedPanels = std::accumulate(kPanelWidths.begin(), kPanelWidths.begin() + kLast, 0);
  const int unscaled = frame.InsetLeft + kLast * frame.PanelGap;
  std::vector<TextFit> fits;
  for (int column = 0; column < kListColumns; ++column)
    fits.push_back({texts.Columns[static_cast<std::size_t>(column)], kColumnWidths[static_cast<std::size_t>(column)]});
  for (int panel = 0; panel < kLast; ++panel)
    fits.push_back({texts.Panels[static_cast<std::size_t>(panel)], kPanelWidths[static_cast<std::size_t>(panel)]});
  // The last panel has what the others leave of the width, less the gaps.
  const int lastNeeds = texts.Panels[kLast];
  fits.push_back({lastNeeds + unscaled, kMainClient.Width - fixedPanels});
  const double scale = FitScale(fits, floor);

  MainWindowMetrics metrics;
  metrics.Scale = scale;
  metrics.Client = Scaled(kMainClient, scale);
  for (std::size_t i = 0; i < kColumnWidths.size(); ++i) metrics.Columns[i] = Scaled(kColumnWidths[i], scale);
  int left = metrics.Client.Width - unscaled;
  for (std::size_t i = 0; i < kLast; ++i) left -= metrics.Panels[i] = Scaled(kPanelWidths[i], scale);
  // The other panels' rounding may take a pixel or two from the last.
  if (left < lastNeeds) {
    metrics.Client.Width += lastNeeds - left;
    left = lastNeeds;
  }
  metrics.Panels[kLast] = left;
  metrics.StatusBarHeight = std::max(Scaled(kStatusBarHeight, scale), texts.PanelHeight + frame.InsetHeight);
  return metrics;
}

Rect WithinArea(const Rect& frame, const Rect& area) {
  const int width = std::min(frame.Width, area.Width);
  const int height = std::min(frame.Height, area.Height);
  return {std::clamp(frame.Left, area.Left, area.Left + area.Width - width),
          std::clamp(frame.Top, area.Top, area.Top + area.Height - height), width, height};
}

std::array<int, kStatusPanels> PanelsWithin(const MainWindowMetrics& metrics, const StatusBarFrame& frame,
                                            int clientWidth) {
  std::array<int, kStatusPanels> panels = metrics.Panels;
  if (clientWidth >= metrics.Client.Width) return panels;
  const double share = static_cast<double>(std::max(clientWidth, 0)) / metrics.Client.Width;
  int left = clientWidth - frame.InsetLeft - (kStatusPanels - 1) * frame.PanelGap;
  for (std::size_t i = 0; i + 1 < panels.size(); ++i) left -= panels[i] = static_cast<int>(panels[i] * share);
  panels.back() = std::max(left, 0);
  return panels;
}

}  // namespace vellonix::ui
