#include "window_metrics.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeWidget>

#include "vellonix/core/list_row.hpp"

namespace vellonix::ui::qt {

namespace {

using Texts = std::span<const std::string_view>;

constexpr std::string_view kFileNumbers[] = {"80"};
constexpr std::string_view kNames[] = {"MASTERDOS2", "Screen 1  ", "autoexec  "};
constexpr std::string_view kSizes[] = {"780.0K"};
constexpr std::string_view kDetails[] = {"Autostart at line 9999", "524288,491520,32768", "Mode 4 screen"};
constexpr std::string_view kDates[] = {"31-12-1999 23:59:59", "24-12-1992 18:30"};
constexpr std::string_view kDosFormats[] = {"SAM-DOS format", "MasterDOS format", "B-DOS format"};
constexpr std::string_view kDiskNames[] = {"Disk name: MASTERDOS UTILS ", "Disk has no name"};
constexpr std::string_view kFileCounts[] = {"80 Files"};
constexpr std::string_view kCorruptedCounts[] = {"80 Corrupted files"};
constexpr std::string_view kFreeSpace[] = {"780.0 K free", "-0.5 K free"};

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The width the list's items need for `text`, as its delegate sizes them.
int ItemWidth(const QTreeWidget& list, const QString& text, bool withIcon) {
  QStyleOptionViewItem option;
  option.initFrom(&list);
  option.font = list.font();
  option.fontMetrics = QFontMetrics(list.font());
  option.text = text;
  option.features = QStyleOptionViewItem::HasDisplay;
  option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  option.decorationSize = list.iconSize();
  if (withIcon) option.features |= QStyleOptionViewItem::HasDecoration;
  return list.style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), &list).width();
}

// A label made as `panel` is, to measure texts with.
class PanelProbe {
 public:
  explicit PanelProbe(const QLabel& panel) {
    probe_.setFont(panel.font());
    probe_.setFrameStyle(panel.frameStyle());
    probe_.setContentsMargins(panel.contentsMargins());
    probe_.setIndent(panel.indent());
    probe_.setMargin(panel.margin());
  }
  QSize SizeFor(const QString& text) {
    probe_.setText(text);
    return probe_.sizeHint();
  }

 private:
  QLabel probe_;
};

double Ratio(int needed, int available) { return static_cast<double>(needed) / available; }

}  // namespace

std::span<const std::string_view> UsualColumnTexts(int column) {
  switch (column) {
    case 0: return kFileNumbers;
    case 1: return kNames;
    case 2: return kSizes;
    case 3: return core::FileTypeNames;
    case 4: return kDetails;
    case 5: return kDates;
    default: return {};
  }
}

std::span<const std::string_view> UsualPanelTexts(int panel) {
  switch (panel) {
    case 0: return kDosFormats;
    case 1: return kDiskNames;
    case 2: return kFileCounts;
    case 3: return kCorruptedCounts;
    case 4: return kFreeSpace;
    default: return {};
  }
}

MainWindowMetrics MetricsFor(const QTreeWidget& list, const QLabel& panel) {
  double scale = 1.0;
  for (int column = 0; column < static_cast<int>(kColumnWidths.size()); ++column) {
    const int available = kColumnWidths[static_cast<std::size_t>(column)];
    // File # carries the row marks, Filename the type icons.
    const bool withIcon = column <= 1;
    for (const std::string_view text : UsualColumnTexts(column))
      scale = std::max(scale, Ratio(ItemWidth(list, Text(text), withIcon), available));
    scale = std::max(scale, Ratio(list.header()->sectionSizeHint(column), available));
  }
  // The last panel has what the others leave of the width, less the gaps.
  constexpr int kLast = kStatusPanels - 1;
  const int fixedPanels = std::accumulate(kPanelWidths.begin(), kPanelWidths.begin() + kLast, 0);
  constexpr int kUnscaled = kStatusBarInsetLeft + kLast * kPanelGap;
  PanelProbe probe(panel);
  int panelHeight = 0;
  int lastNeeds = 0;
  for (int index = 0; index < kStatusPanels; ++index) {
    for (const std::string_view text : UsualPanelTexts(index)) {
      const QSize size = probe.SizeFor(Text(text));
      if (index == kLast) lastNeeds = std::max(lastNeeds, size.width());
      scale = std::max(scale, index == kLast ? Ratio(size.width() + kUnscaled, kClientWidth - fixedPanels)
                                             : Ratio(size.width(), kPanelWidths[static_cast<std::size_t>(index)]));
      panelHeight = std::max(panelHeight, size.height());
    }
  }

  const auto scaled = [scale](int pixels) { return static_cast<int>(std::ceil(pixels * scale)); };
  MainWindowMetrics metrics;
  metrics.Scale = scale;
  metrics.Client = QSize(scaled(kClientWidth), scaled(kClientHeight));
  for (std::size_t i = 0; i < kColumnWidths.size(); ++i) metrics.Columns[i] = scaled(kColumnWidths[i]);
  int left = metrics.Client.width() - kUnscaled;
  for (std::size_t i = 0; i < kLast; ++i) left -= metrics.Panels[i] = scaled(kPanelWidths[i]);
  // The other panels' rounding may take a pixel or two from the last.
  if (left < lastNeeds) {
    metrics.Client.rwidth() += lastNeeds - left;
    left = lastNeeds;
  }
  metrics.Panels[kLast] = left;
  metrics.StatusBarHeight = std::max(scaled(kStatusBarHeight), panelHeight + kStatusBarInsetHeight);
  return metrics;
}

QFont ProgramFont() {
  QFont font(QStringLiteral("MS Sans Serif"), 8);
  if (QFontInfo(font).family() == font.family()) return font;
  font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPointSize(8);
  return font;
}

}  // namespace vellonix::ui::qt
