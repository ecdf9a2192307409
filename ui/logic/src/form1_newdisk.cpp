// TForm1: a blank disk of the format chosen in the New diskimage dialog.
#include "vellonix/core/new_image.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui {

namespace {

// The name box takes any text; what no SAM byte can stand for becomes "?".
std::string SamBytesOf(const std::string& utf8) {
  if (auto bytes = core::Utf8ToLatin1(utf8)) return *bytes;
  std::string bytes;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto code = static_cast<unsigned char>(utf8[i]);
    if ((code & 0xC0) == 0x80) continue;  // continuation of the character before
    const std::size_t length = code < 0x80 ? 1 : code < 0xE0 ? 2 : code < 0xF0 ? 3 : 4;
    const auto single = core::Utf8ToLatin1(std::string_view(utf8).substr(i, length));
    bytes += single && single->size() == 1 ? *single : "?";
  }
  return bytes;
}

}  // namespace

void TForm1::MakeNewDiskImage() {
  // The format is chosen before the old image is saved or given up.
  if (!newDiskDialog_.ExecuteNewDiskDialog(ui_)) return;
  if (!SaveChanges()) return;

  ImageLoaded = false;
  InitDiskImage();
  const int dosKind = newDiskDialog_.RadioGroup3ItemIndex();
  const auto limit = static_cast<std::size_t>(newDiskDialog_.Edit1MaxLength());
  core::MakeBlankDisk(*diskImageBuffer_, dosKind, SamBytesOf(newDiskDialog_.Edit1Text), limit);
  DocumentPath = "Untitled.mgt";
  ImageLoaded = true;
  InitDiskImage();
  ImageModified = true;
  ImageUntitled = true;
}

}  // namespace vellonix::ui
