#include "window_metrics.hpp"

#include <algorithm>

#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeWidget>

namespace vellonix::ui::qt {

namespace {

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

}  // namespace

MainWindowMetrics MetricsFor(const QTreeWidget& list, const QLabel& panel) {
  MainWindowTexts texts;
  for (int column = 0; column < kListColumns; ++column) {
    int& widest = texts.Columns[static_cast<std::size_t>(column)];
    for (const std::string_view text : UsualColumnTexts(column))
      widest = std::max(widest, ItemWidth(list, Text(text), ColumnHasIcon(column)));
    widest = std::max(widest, list.header()->sectionSizeHint(column));
  }
  PanelProbe probe(panel);
  for (int index = 0; index < kStatusPanels; ++index) {
    for (const std::string_view text : UsualPanelTexts(index)) {
      const QSize size = probe.SizeFor(Text(text));
      int& widest = texts.Panels[static_cast<std::size_t>(index)];
      widest = std::max(widest, size.width());
      texts.PanelHeight = std::max(texts.PanelHeight, size.height());
    }
  }
  return FitMainWindow(texts, {kPanelGap, kStatusBarInsetLeft, kStatusBarInsetHeight});
}

QFont ProgramFont() {
  QFont font(QStringLiteral("MS Sans Serif"), 8);
  if (QFontInfo(font).family() == font.family()) return font;
  font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPointSize(8);
  return font;
}

}  // namespace vellonix::ui::qt
