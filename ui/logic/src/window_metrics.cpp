#include "vellonix/ui/window_metrics.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace vellonix::ui {

double FitScale(std::span<const TextFit> fits, double floor) {
  double scale = floor;
  for (const TextFit& fit : fits) scale = std::max(scale, static_cast<double>(fit.Needed) / std::max(fit.Available, 1));
  return scale;
}

int Scaled(int pixels, double scale) { return static_cast<int>(std::ceil(pixels * scale)); }

Rect Scaled(const Rect& rect, double scale) {
  return {Scaled(rect.Left, scale), Scaled(rect.Top, scale), Scaled(rect.Width, scale), Scaled(rect.Height, scale)};
}

Size Scaled(const Size& size, double scale) { return {Scaled(size.Width, scale), Scaled(size.Height, scale)}; }

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

MainWindowMetrics LimitToRoom(MainWindowMetrics metrics, const StatusBarFrame& frame, const Size& room) {
  metrics.Client.Height = std::min(metrics.Client.Height, std::max(room.Height, metrics.StatusBarHeight));
  if (metrics.Client.Width <= room.Width) return metrics;
  const int unscaled = frame.InsetLeft + (kStatusPanels - 1) * frame.PanelGap;
  const int before = metrics.Client.Width - unscaled;
  const int after = std::max(room.Width - unscaled, 0);
  int left = after;
  for (std::size_t i = 0; i + 1 < metrics.Panels.size(); ++i) left -= metrics.Panels[i] = metrics.Panels[i] * after / before;
  metrics.Panels.back() = left;
  metrics.Client.Width = std::max(room.Width, 0);
  return metrics;
}

}  // namespace vellonix::ui
