#include "vellonix/ui/new_disk_dialog.hpp"

#include <algorithm>

#include "vellonix/core/directory.hpp"
#include "vellonix/core/new_image.hpp"

namespace vellonix::ui {

void NewDiskDialogModel::RadioGroup3Click(int item) {
  itemIndex_ = std::clamp(item, core::kSamDos, core::kBDos);
  edit1Enabled_ = core::NewDiskTakesName(itemIndex_);
  Edit1Text.clear();
  edit1MaxLength_ = static_cast<int>(core::NewDiskNameLimit(itemIndex_));
}

bool NewDiskDialogModel::ExecuteNewDiskDialog(UiServices& ui) {
  Edit1Text.clear();
  return ui.ShowModalDialog(ModalDialog::NewDiskImage) == DialogResult::Ok;
}

}  // namespace vellonix::ui
