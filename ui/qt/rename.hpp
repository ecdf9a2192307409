// TOKBottomDlg2, the name dialog of Rename file and Change disk name, bound
// to its model: the caller's caption, text and limit in, the text out.
#pragma once

#include <QDialog>

#include "vellonix/ui/name_dialog.hpp"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vellonix::ui::qt {

class TOKBottomDlg2 : public QDialog {
 public:
  TOKBottomDlg2(NameDialogModel& model, QWidget* parent);

  DialogResult Execute();

  QFrame* Bevel1 = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 private:
  NameDialogModel& model_;
};

}  // namespace vellonix::ui::qt
