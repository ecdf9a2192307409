#include "newdisk.hpp"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "dialog_support.hpp"
#include "vellonix/ui/dialog_layouts.hpp"

namespace vellonix::ui::qt {

namespace {
constexpr int kUnlimited = 32767;  // QLineEdit's own maximum
namespace layout = newdisk_layout;
}

TOKBottomDlg1::TOKBottomDlg1(NewDiskDialogModel& model, QWidget* parent) : QDialog(parent), model_(model) {
  setObjectName(QStringLiteral("OKBottomDlg1"));
  setWindowTitle(QString::fromUtf8(layout::kCaption));
  UseDialogBorder(*this);
  auto* fitted = new FittedLayout(*this, layout::kClient);

  RadioGroup3 = fitted->Place(new QGroupBox(QString::fromUtf8(layout::kRadioGroup3Caption), this), layout::kRadioGroup3);
  buttons_ = new QButtonGroup(this);
  for (int item = 0; item < 3; ++item) {
    auto* radio = fitted->Place(
        new QRadioButton(QString::fromUtf8(layout::kRadioItems[static_cast<std::size_t>(item)]), RadioGroup3),
        layout::RadioItem(item));
    buttons_->addButton(radio, item);
    RadioGroup3Items[static_cast<std::size_t>(item)] = radio;
  }
  connect(buttons_, &QButtonGroup::idClicked, this, &TOKBottomDlg1::RadioGroup3Click);

  GroupBox1 = fitted->Place(new QGroupBox(QString::fromUtf8(layout::kGroupBox1Caption), this), layout::kGroupBox1);
  Edit1 = fitted->Place(new QLineEdit(GroupBox1), layout::kEdit1);
  Edit1->setValidator(NewSamNameValidator(Edit1));

  const OkCancelButtons buttons = AddOkCancelButtons(*this, *fitted, layout::kOKBtn, layout::kCancelBtn);
  OKBtn = buttons.Ok;
  CancelBtn = buttons.Cancel;

  // Tab follows the layout: the formats, the name box, OK, Cancel.
  QWidget* const chain[] = {RadioGroup3Items[0], RadioGroup3Items[1], RadioGroup3Items[2], Edit1, OKBtn, CancelBtn};
  for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);
  fitted->Fit();
  ShowModel();
}

void TOKBottomDlg1::RadioGroup3Click(int item) {
  model_.RadioGroup3Click(item);
  ShowModel();
}

void TOKBottomDlg1::ShowModel() {
  RadioGroup3Items[static_cast<std::size_t>(model_.RadioGroup3ItemIndex())]->setChecked(true);
  Edit1->setEnabled(model_.Edit1Enabled());
  const int limit = model_.Edit1MaxLength();
  Edit1->setMaxLength(limit == NewDiskDialogModel::kNoLengthLimit ? kUnlimited : limit);
  Edit1->setText(FromUtf8(model_.Edit1Text));
}

DialogResult TOKBottomDlg1::Execute() {
  ShowModel();
  RadioGroup3Items[static_cast<std::size_t>(model_.RadioGroup3ItemIndex())]->setFocus();
  CentreOnParent(*this);
  const bool ok = exec() == QDialog::Accepted;
  if (ok) model_.Edit1Text = ToUtf8(Edit1->text());
  return ok ? DialogResult::Ok : DialogResult::Cancel;
}

}  // namespace vellonix::ui::qt
