#include "window_metrics.hpp"

#include "host_text.hpp"

namespace vellonix::ui::win {

Rect ToRect(const RECT& rect) { return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}; }

Rect WithinWorkArea(HWND window, const Rect& frame) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return frame;
  return WithinArea(frame, ToRect(monitor.rcWork));
}

SIZE FrameFor(HWND window, SIZE client, UINT dpi) {
  RECT frame{0, 0, client.cx, client.cy};
  AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), GetMenu(window) != nullptr,
                           static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

int ForDpi(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kBaseDpi)); }

Font ProgramFont(UINT dpi, bool bold) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTW font{};
  if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    font = metrics.lfMessageFont;
  } else {
    // Before the per-DPI call existed: the 8-point dialog font.
    font.lfHeight = -MulDiv(8, static_cast<int>(dpi), 72);
    font.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(font.lfFaceName, L"MS Shell Dlg 2");
  }
  if (bold) font.lfWeight = FW_BOLD;
  return Font(CreateFontIndirectW(&font));
}

TextMeasure::TextMeasure(HFONT font) : dc_(CreateCompatibleDC(nullptr)), previous_(SelectObject(dc_, font)) {
  GetTextMetricsW(dc_, &metrics_);
}

TextMeasure::~TextMeasure() {
  SelectObject(dc_, previous_);
  DeleteDC(dc_);
}

int TextMeasure::Width(std::wstring_view text) const {
  SIZE size{};
  GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

int TextMeasure::Width(std::string_view utf8) const { return Width(Wide(utf8)); }

int TextMeasure::WrappedHeight(std::wstring_view text, int width) const {
  RECT rect{0, 0, width, 0};
  DrawTextW(dc_, text.data(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  return rect.bottom;
}

MainWindowMetrics MetricsFor(UINT dpi, HFONT font, int iconSize, const StatusBarFrame& frame) {
  const TextMeasure text(font);
  const int cell = 2 * ForDpi(kCellPadding, dpi);
  const int icon = iconSize + ForDpi(kIconGap, dpi);
  MainWindowMeasure measure;
  measure.Cell = [&](int column, std::string_view shown) {
    return text.Width(shown) + cell + (ColumnHasIcon(column) ? icon : 0);
  };
  measure.Caption = [&](int column) {
    return text.Width(std::string_view(kColumnCaptions[static_cast<std::size_t>(column)])) +
           2 * ForDpi(kHeaderPadding, dpi);
  };
  measure.Panel = [&](std::string_view shown) {
    return Size{text.Width(shown) + 2 * ForDpi(kPanelPadding, dpi), text.LineHeight()};
  };
  return FitMainWindow(MeasureMainWindow(measure), frame, DpiScale(dpi));
}

}  // namespace vellonix::ui::win
