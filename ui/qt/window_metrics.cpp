#include "window_metrics.hpp"

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

MainWindowMetrics MetricsFor(const QTreeWidget& list, const QLabel& panel) {
  PanelProbe probe(panel);
  MainWindowMeasure measure;
  measure.Cell = [&list](int column, std::string_view text) { return ItemWidth(list, Text(text), ColumnHasIcon(column)); };
  measure.Caption = [&list](int column) { return list.header()->sectionSizeHint(column); };
  measure.Panel = [&probe](std::string_view text) {
    const QSize size = probe.SizeFor(Text(text));
    return Size{size.width(), size.height()};
  };
  return FitMainWindow(MeasureMainWindow(measure), kStatusBarFrame);
}

}  // namespace vellonix::ui::qt
