// TForm2, the progress window of the floppy transfers: a fixed dialog frame
// without a close box and one smooth bar, shown modeless over the main
// window.
#pragma once

#include <string>

#include "dialog_support.hpp"

namespace vellonix::ui::win {

class TForm2 final : public Dialog {
 public:
  explicit TForm2(HWND mainWindow);

  // Shows the window centred on the main window when it is hidden, sets the
  // caption and the bar, and paints it at once. The transfer runs on this
  // thread and takes no input; between its steps only painting is done, so
  // that the picture keeps up and the system does not take the program for
  // hung.
  void ShowProgress(const std::string& caption, int position);
  void HideProgress();

  HWND ProgressBar1 = nullptr;

 private:
  HWND InitialFocus() override { return nullptr; }
};

}  // namespace vellonix::ui::win
