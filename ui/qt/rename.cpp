#include "rename.hpp"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialog_support.hpp"
#include "vellonix/ui/dialog_layouts.hpp"

namespace vellonix::ui::qt {

namespace layout = rename_layout;

TOKBottomDlg2::TOKBottomDlg2(NameDialogModel& model, QWidget* parent) : QDialog(parent), model_(model) {
  setObjectName(QStringLiteral("OKBottomDlg2"));
  setWindowTitle(FromUtf8(model_.Caption));
  UseDialogBorder(*this);
  auto* fitted = new FittedLayout(*this, layout::kClient);

  Bevel1 = fitted->Place(new QFrame(this), layout::kBevel1);
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Label1 = fitted->Place(new QLabel(QString::fromUtf8(layout::kLabel1Caption), this), layout::kLabel1);
  Edit1 = fitted->Place(new QLineEdit(this), layout::kEdit1);
  Edit1->setMaxLength(model_.Edit1MaxLength);
  Edit1->setValidator(NewSamNameValidator(Edit1));

  const OkCancelButtons buttons = AddOkCancelButtons(*this, *fitted, layout::kOKBtn, layout::kCancelBtn);
  OKBtn = buttons.Ok;
  CancelBtn = buttons.Cancel;
  fitted->Fit();
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
