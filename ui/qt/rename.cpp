#include "rename.hpp"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialog_support.hpp"

namespace vellonix::ui::qt {

TOKBottomDlg2::TOKBottomDlg2(NameDialogModel& model, QWidget* parent) : QDialog(parent), model_(model) {
  setObjectName(QStringLiteral("OKBottomDlg2"));
  setWindowTitle(FromUtf8(model_.Caption));
  UseDialogBorder(*this, {234, 124});

  Bevel1 = new QFrame(this);
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Bevel1->setGeometry(8, 8, 217, 73);
  Label1 = new QLabel(QStringLiteral("Enter new name:"), this);
  Label1->move(24, 16);
  Edit1 = new QLineEdit(this);
  Edit1->setGeometry(24, 40, 185, 21);
  Edit1->setMaxLength(model_.Edit1MaxLength);
  Edit1->setValidator(NewSamNameValidator(Edit1));

  const OkCancelButtons buttons = AddOkCancelButtons(*this, 39, 119, 92);
  OKBtn = buttons.Ok;
  CancelBtn = buttons.Cancel;
}

DialogResult TOKBottomDlg2::Execute() {
  setWindowTitle(FromUtf8(model_.Caption));
  Edit1->setMaxLength(model_.Edit1MaxLength);
  Edit1->setText(FromUtf8(model_.Edit1Text));
  Edit1->selectAll();
  Edit1->setFocus();
  CentreOnParent(*this);
  const bool ok = exec() == QDialog::Accepted;
  if (ok) model_.Edit1Text = ToUtf8(Edit1->text());
  return ok ? DialogResult::Ok : DialogResult::Cancel;
}

}  // namespace vellonix::ui::qt
