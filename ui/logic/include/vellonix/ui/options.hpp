// TOKBottomDlg, the Options dialog, kept apart from its widgets: each
// showing starts from the system's state as it is then, the spin buttons
// walk the program's three icons without wrapping, and OK writes the whole
// state back. One instance lives for the whole run; nothing of a showing
// is kept for the next but what the system itself holds.
#pragma once

#include <cstdint>
#include <functional>

#include "vellonix/integration/shell_integration.hpp"
#include "vellonix/ui/ui_services.hpp"

namespace vellonix::ui {

class OptionsDialogModel {
 public:
  // The boxes as shown: Mgt and Sad are CheckBox1 and CheckBox2, the
  // shortcuts CheckBox3 to CheckBox7 (a box whose shortcut has no place on
  // this system is shown disabled); and IconIndex, the icon in Image1.
  integration::IntegrationState State;

  // Shows icon `IconIndex` in Image1; the widgets hook it.
  std::function<void(std::uint16_t iconIndex)> OnShowSelectedIcon;
  void ShowSelectedIcon() const;

  // Up goes towards icon 0, down towards the last; at either end nothing
  // happens.
  void SpinButton1UpClick();
  void SpinButton1DownClick();

  // Reads the system's state through `shell`, shows the dialog and, when it
  // is closed with OK, writes the state back. True on OK. Errors of the
  // reading (nothing written) and of the writing (the steps before it
  // done) reach the caller as integration::IntegrationError.
  bool ExecuteOptionsDialog(UiServices& ui, integration::ShellIntegration& shell);
};

}  // namespace vellonix::ui
