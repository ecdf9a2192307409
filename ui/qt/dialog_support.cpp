#include "dialog_support.hpp"

#include <QAbstractButton>
#include <QDialog>
#include <QGroupBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "vellonix/ui/dialog_layouts.hpp"
#include "vellonix/ui/window_metrics.hpp"

namespace vellonix::ui::qt {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

void UseDialogBorder(QDialog& dialog) {
  dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint);
}

namespace {

// What a widget's text needs in pixels: a caption or label its size, a
// group box its title's width, a name box a line's height (its text
// scrolls); what shows no text (frames, pictures, arrows) nothing.
QSize Need(const QWidget& widget) {
  const QSize hint = widget.sizeHint();
  if (qobject_cast<const QLineEdit*>(&widget) != nullptr) return {0, hint.height()};
  if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) return {group->title().isEmpty() ? 0 : hint.width(), 0};
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) return label->text().isEmpty() ? QSize() : hint;
  if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) return button->text().isEmpty() ? QSize() : hint;
  return {};
}

bool Wraps(const QWidget& widget) {
  const auto* label = qobject_cast<const QLabel*>(&widget);
  return label != nullptr && label->wordWrap();
}

}  // namespace

FittedLayout::FittedLayout(QDialog& dialog, const Size& client) : QObject(&dialog), dialog_(dialog), client_(client) {
  dialog.installEventFilter(this);
}

void FittedLayout::Fit() {
  std::vector<TextFit> fits;
  std::vector<WrappedTextFit> wrapped;
  for (const Placed& placed : placed_) {
    QWidget* const widget = placed.Widget;
    if (widget == nullptr) continue;
    if (Wraps(*widget)) {
      wrapped.push_back({[widget](int width) { return widget->heightForWidth(width); },
                         {placed.Base.Width, placed.Base.Height}});
      continue;
    }
    const QSize need = Need(*widget).expandedTo(QSize(0, 0));
    fits.push_back({need.width(), placed.Base.Width});
    fits.push_back({need.height(), placed.Base.Height});
  }
  const double scale = DialogScale(fits, wrapped);
  for (const Placed& placed : placed_) {
    if (placed.Widget != nullptr) placed.Widget->setGeometry(ToQt(Scaled(placed.Base, scale)));
  }
  const Size client = Scaled(client_, scale);
  dialog_.setFixedSize(client.Width, client.Height);
}

bool FittedLayout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &dialog_ && event->type() == QEvent::FontChange) Fit();
  return QObject::eventFilter(watched, event);
}

void CentreOnParent(QWidget& dialog) {
  const QWidget* parent = dialog.parentWidget();
  if (parent == nullptr) return;
  const QRect frame = parent->window()->frameGeometry();
  dialog.adjustSize();
  const QSize size = dialog.frameGeometry().size();
  dialog.move(frame.left() + (frame.width() - size.width()) / 2, frame.top() + (frame.height() - size.height()) / 2);
}

QValidator* NewSamNameValidator(QObject* parent) {
  return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\x{0020}-\\x{00FF}]*")), parent);
}

OkCancelButtons AddOkCancelButtons(QDialog& dialog, FittedLayout& layout, const Rect& okPlace, const Rect& cancelPlace) {
  auto* ok = layout.Place(new QPushButton(QString::fromUtf8(kOkCaption), &dialog), okPlace);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  auto* cancel = layout.Place(new QPushButton(QString::fromUtf8(kCancelCaption), &dialog), cancelPlace);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  return {ok, cancel};
}

}  // namespace vellonix::ui::qt
