// The name dialog shared by Rename file and Change disk name: each caller
// sets the caption, the text and its length limit, shows it and reads the
// text back. One instance lives for the whole run.
#pragma once

#include <string>

#include "vellonix/ui/ui_services.hpp"

namespace vellonix::ui {

struct NameDialogModel {
  std::string Caption = "Change disk name";
  std::string Edit1Text;  // UTF-8
  int Edit1MaxLength = 16;

  // True when the dialog was closed with OK.
  bool ExecuteNameDialog(UiServices& ui) const {
    return ui.ShowModalDialog(ModalDialog::NameDialog) == DialogResult::Ok;
  }
};

}  // namespace vellonix::ui
