#include "rename.hpp"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "newdisk.hpp"

namespace vellonix::ui::qt {

TOKBottomDlg2::TOKBottomDlg2(NameDialogModel& model, QWidget* parent) : QDialog(parent), model_(model) {
  setObjectName(QStringLiteral("OKBottomDlg2"));
  setWindowTitle(QString::fromUtf8(model_.Caption));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(234, 124);

  Bevel1 = new QFrame(this);
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Bevel1->setGeometry(8, 8, 217, 73);
  Label1 = new QLabel(QStringLiteral("Enter new name:"), this);
  Label1->move(24, 16);
  Edit1 = new QLineEdit(this);
  Edit1->setGeometry(24, 40, 185, 21);
  Edit1->setMaxLength(model_.Edit1MaxLength);
  // One byte per character on the disk.
  Edit1->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\x{0020}-\\x{00FF}]*")), Edit1));

  OKBtn = new QPushButton(QStringLiteral("&OK"), this);
  OKBtn->setGeometry(39, 92, 75, 25);
  OKBtn->setDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  CancelBtn = new QPushButton(QStringLiteral("&Cancel"), this);
  CancelBtn->setGeometry(119, 92, 75, 25);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

DialogResult TOKBottomDlg2::Execute() {
  setWindowTitle(QString::fromUtf8(model_.Caption));
  Edit1->setMaxLength(model_.Edit1MaxLength);
  Edit1->setText(QString::fromUtf8(model_.Edit1Text));
  Edit1->selectAll();
  Edit1->setFocus();
  CentreOnParent(*this);
  const bool ok = exec() == QDialog::Accepted;
  if (ok) model_.Edit1Text = Edit1->text().toUtf8().toStdString();
  return ok ? DialogResult::Ok : DialogResult::Cancel;
}

}  // namespace vellonix::ui::qt
