// TForm1: a blank disk of the format chosen in the New diskimage dialog.
#include "vellonix/core/new_image.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui {


void TForm1::MakeNewDiskImage() {
  // The format is chosen before the old image is saved or given up.
  if (!newDiskDialog_.ExecuteNewDiskDialog(ui_)) return;
  if (!SaveChanges()) return;

  ImageLoaded = false;
  InitDiskImage();
  const int dosKind = newDiskDialog_.RadioGroup3ItemIndex();
  const auto limit = static_cast<std::size_t>(newDiskDialog_.Edit1MaxLength());
  core::MakeBlankDisk(*diskImageBuffer_, dosKind, core::Utf8ToLatin1Lossy(newDiskDialog_.Edit1Text), limit);
  DocumentPath = "Untitled.mgt";
  ImageLoaded = true;
  InitDiskImage();
  ImageModified = true;
  ImageUntitled = true;
}

}  // namespace vellonix::ui
