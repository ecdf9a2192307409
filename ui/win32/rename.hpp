// TOKBottomDlg2, the name dialog of Rename file and Change disk name, bound
// to its model: the caller's caption, text and limit in, the text out.
#pragma once

#include "dialog_support.hpp"
#include "vellonix/ui/name_dialog.hpp"

namespace vellonix::ui::win {

class TOKBottomDlg2 final : public Dialog {
 public:
  TOKBottomDlg2(NameDialogModel& model, HWND owner);

  DialogResult Execute();

  HWND Bevel1 = nullptr;
  HWND Label1 = nullptr;
  HWND Edit1 = nullptr;

 private:
  HWND InitialFocus() override { return Edit1; }
  bool OnOk() override;

  NameDialogModel& model_;
};

}  // namespace vellonix::ui::win
