// TForm1: View File, and its menu state, which follows the list's selection.
#include "vellonix/ui/file_viewer.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui {

void TForm1::ViewFile1Click() {
  const std::optional<ListedFile> file = SelectedFile();
  if (!file) return;
  ui_.ShowFileViewer(ViewOfFile(*diskImageBuffer_, file->Slot));
}

void TForm1::ListView1SelectItem() { ui_.SetMenuEnabled(MenuItem::ViewFile1, SelectedFile().has_value()); }

}  // namespace vellonix::ui
