#include "dialog_support.hpp"

#include <QDialog>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "vellonix/ui/dialog_layouts.hpp"

namespace vellonix::ui::qt {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

void UseDialogBorder(QDialog& dialog, const Size& clientSize) {
  dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint);
  dialog.setFixedSize(clientSize.Width, clientSize.Height);
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

OkCancelButtons AddOkCancelButtons(QDialog& dialog, const Rect& okPlace, const Rect& cancelPlace) {
  auto* ok = new QPushButton(QString::fromUtf8(kOkCaption), &dialog);
  ok->setGeometry(ToQt(okPlace));
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  auto* cancel = new QPushButton(QString::fromUtf8(kCancelCaption), &dialog);
  cancel->setGeometry(ToQt(cancelPlace));
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  return {ok, cancel};
}

}  // namespace vellonix::ui::qt
