#include "vellonix/ui/options.hpp"

#include <algorithm>

namespace vellonix::ui {

using integration::kIconCount;

void OptionsDialogModel::ShowSelectedIcon() const {
  if (OnShowSelectedIcon) OnShowSelectedIcon(State.IconIndex);
}

void OptionsDialogModel::SpinButton1UpClick() {
  if (State.IconIndex == 0) return;
  --State.IconIndex;
  ShowSelectedIcon();
}

void OptionsDialogModel::SpinButton1DownClick() {
  if (State.IconIndex >= kIconCount - 1) return;
  ++State.IconIndex;
  ShowSelectedIcon();
}

bool OptionsDialogModel::ExecuteOptionsDialog(UiServices& ui, integration::ShellIntegration& shell) {
  integration::IntegrationState state = shell.Read();
  // Whatever the system holds, the dialog shows one of its own icons. A box
  // the dialog cannot change (no place for it, or one an installation
  // holds) shows what the system holds, greyed.
  state.IconIndex = std::min<std::uint16_t>(state.IconIndex, kIconCount - 1);
  State = state;
  ShowSelectedIcon();
  if (ui.ShowModalDialog(ModalDialog::Options) != DialogResult::Ok) return false;
  shell.Apply(State);
  return true;
}

}  // namespace vellonix::ui
