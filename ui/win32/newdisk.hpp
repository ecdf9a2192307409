// TOKBottomDlg1, the New diskimage dialog: controls bound to the dialog's
// model, which keeps the choice from one showing to the next.
#pragma once

#include <array>

#include "dialog_support.hpp"
#include "vellonix/ui/new_disk_dialog.hpp"

namespace vellonix::ui::win {

class TOKBottomDlg1 final : public Dialog {
 public:
  TOKBottomDlg1(NewDiskDialogModel& model, HWND owner);

  // Shows the model's state, runs modally centred on the owner with the
  // focus on the chosen format, and writes the name back on OK.
  DialogResult Execute();

  HWND RadioGroup3 = nullptr;
  std::array<HWND, 3> RadioGroup3Items{};
  HWND GroupBox1 = nullptr;
  HWND Edit1 = nullptr;

 private:
  HWND InitialFocus() override;
  bool OnOk() override;
  void OnCommand(int id, int code) override;
  void ShowModel();

  NewDiskDialogModel& model_;
};

}  // namespace vellonix::ui::win
