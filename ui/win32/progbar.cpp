#include "progbar.hpp"

#include <commctrl.h>

#include "host_text.hpp"
#include "vellonix/ui/dialog_layouts.hpp"
#include "vellonix/ui/progress_window.hpp"

namespace vellonix::ui::win {

TForm2::TForm2(HWND mainWindow)
    : Dialog(mainWindow, progbar_layout::kClient, kProgressWindowCaption, /*closeBox=*/false) {
  ProgressBar1 = Add(PROGRESS_CLASSW, "", PBS_SMOOTH, -1, progbar_layout::kProgressBar1, ControlKind::Other);
  SendMessageW(ProgressBar1, PBM_SETRANGE32, kProgressMin, kProgressMax);
  SendMessageW(ProgressBar1, PBM_SETSTEP, kProgressStep, 0);
  SendMessageW(ProgressBar1, PBM_SETPOS, kProgressStart, 0);
}

void TForm2::ShowProgress(const std::string& caption, int position) {
  SetWindowTextW(Handle(), Wide(caption).c_str());
  SendMessageW(ProgressBar1, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  if (!IsWindowVisible(Handle())) {
    HWND owner = GetWindow(Handle(), GW_OWNER);
    Layout(GetDpiForWindow(owner));
    CentreOn(Handle(), owner);
    ShowWindow(Handle(), SW_SHOW);
  }
  UpdateWindow(Handle());
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) DispatchMessageW(&message);
}

void TForm2::HideProgress() { ShowWindow(Handle(), SW_HIDE); }

}  // namespace vellonix::ui::win
