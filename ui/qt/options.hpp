// TOKBottomDlg, the Options dialog: widgets bound to the dialog's model,
// which reads the system's state before each showing and writes it back
// after OK.
#pragma once

#include <array>

#include <QDialog>

#include "vellonix/ui/options.hpp"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace vellonix::ui::qt {

class FittedLayout;

class TOKBottomDlg : public QDialog {
 public:
  TOKBottomDlg(OptionsDialogModel& model, QWidget* parent);

  // Shows the model's boxes, runs modally centred on the parent with the
  // focus on OK, and writes the boxes back to the model on OK.
  DialogResult Execute();

  QGroupBox* GroupBox1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QLabel* Image1 = nullptr;
  QToolButton* SpinButton1Up = nullptr;
  QToolButton* SpinButton1Down = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  std::array<QCheckBox*, integration::kShortcutCount> ShortcutBoxes{};  // CheckBox3 to CheckBox7
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 private:
  void BuildAssociations();
  void BuildAccessibility();
  void ShowSelectedIcon(std::uint16_t iconIndex);
  void ShowModel();
  void ReadBoxes();

  OptionsDialogModel& model_;
  FittedLayout* fitted_ = nullptr;
};

}  // namespace vellonix::ui::qt
