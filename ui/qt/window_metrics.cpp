#include "window_metrics.hpp"

#include <algorithm>

#include <QFontMetrics>
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

QString WidestNameCharacter(const QFontMetrics& metrics) {
  QString widest;
  int most = -1;
  for (const std::string& character : SamNameCharacters()) {
    const QString text = Text(character);
    if (const int width = metrics.horizontalAdvance(text); width > most) {
      most = width;
      widest = text;
    }
  }
  return widest;
}

MainWindowMetrics MetricsFor(const QTreeWidget& list, const QLabel& panel) {
  MainWindowTexts texts;
  const std::string inList = WidestNameCharacter(list.fontMetrics()).toStdString();
  for (int column = 0; column < kListColumns; ++column) {
    int& widest = texts.Columns[static_cast<std::size_t>(column)];
    for (const std::string& text : WidestColumnTexts(column, inList))
      widest = std::max(widest, ItemWidth(list, Text(text), ColumnHasIcon(column)));
    widest = std::max(widest, list.header()->sectionSizeHint(column));
  }
  PanelProbe probe(panel);
  const std::string inPanel = WidestNameCharacter(panel.fontMetrics()).toStdString();
  for (int index = 0; index < kStatusPanels; ++index) {
    for (const std::string& text : WidestPanelTexts(index, inPanel)) {
      const QSize size = probe.SizeFor(Text(text));
      int& widest = texts.Panels[static_cast<std::size_t>(index)];
      widest = std::max(widest, size.width());
      texts.PanelHeight = std::max(texts.PanelHeight, size.height());
    }
  }
  return FitMainWindow(texts, kStatusBarFrame);
}

}  // namespace vellonix::ui::qt
