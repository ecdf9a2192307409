#include "window_metrics.hpp"

#include <algorithm>

#include "host_text.hpp"

namespace vellonix::ui::win {

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
  const TextMeasure measure(font);
  MainWindowTexts texts;
  const int cell = 2 * ForDpi(kCellPadding, dpi);
  const int icon = iconSize + ForDpi(kIconGap, dpi);
  for (int column = 0; column < kListColumns; ++column) {
    int& widest = texts.Columns[static_cast<std::size_t>(column)];
    for (const std::string_view text : UsualColumnTexts(column))
      widest = std::max(widest, measure.Width(text) + cell + (ColumnHasIcon(column) ? icon : 0));
    const int caption = measure.Width(std::string_view(kColumnCaptions[static_cast<std::size_t>(column)]));
    widest = std::max(widest, caption + 2 * ForDpi(kHeaderPadding, dpi));
  }
  for (int panel = 0; panel < kStatusPanels; ++panel) {
    for (const std::string_view text : UsualPanelTexts(panel)) {
      int& widest = texts.Panels[static_cast<std::size_t>(panel)];
      widest = std::max(widest, measure.Width(text) + 2 * ForDpi(kPanelPadding, dpi));
    }
  }
  texts.PanelHeight = measure.LineHeight();
  return FitMainWindow(texts, frame, DpiScale(dpi));
}

}  // namespace vellonix::ui::win
