// TOKBottomDlg1, the New diskimage dialog: widgets bound to the dialog's
// model, which keeps the choice from one showing to the next.
#pragma once

#include <QDialog>

#include "vellonix/ui/new_disk_dialog.hpp"

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vellonix::ui::qt {

class TOKBottomDlg1 : public QDialog {
 public:
  TOKBottomDlg1(NewDiskDialogModel& model, QWidget* parent);

  // Shows the model's state, runs modally centred on the parent and writes
  // the name back to the model on OK.
  DialogResult Execute();

  QGroupBox* RadioGroup3 = nullptr;
  std::array<QRadioButton*, 3> RadioGroup3Items{};
  QGroupBox* GroupBox1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 private:
  void RadioGroup3Click(int item);
  void ShowModel();

  NewDiskDialogModel& model_;
  QButtonGroup* buttons_ = nullptr;
};

}  // namespace vellonix::ui::qt
