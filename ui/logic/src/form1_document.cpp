// TForm1: loading and saving the image file, and the title.
#include "vellonix/core/image_file.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/formats/image_refusal.hpp"
#include "vellonix/ui/form1.hpp"
#include "vellonix/ui/shell_path.hpp"

namespace vellonix::ui {

namespace {
constexpr int kInvalidImageBoxWidth = 161;
}

TForm1::TForm1(UiServices& ui, InstanceLauncher& launcher)
    : ui_(ui), launcher_(launcher), diskImageBuffer_(std::make_unique<core::DiskImageBuffer>()) {
  // The buffer starts zeroed rather than undefined, so that anything that
  // writes it before a load (a floppy Save) writes known bytes.
  InitDiskImage();
}

void TForm1::ReportError(const std::string& text, int boxWidth, const std::string& detail) {
  ui_.Beep();
  ui_.ShowMessage(text, MessageKind::Error, MessageButtons::Ok, CentredBoxOrigin(ui_.MainWindowRect(), boxWidth),
                  detail);
}

void TForm1::ReportInvalidImage(const std::string& detail) {
  ReportError("\rInvalid diskimage", kInvalidImageBoxWidth, detail);
}

void TForm1::LoadDiskImage() {
  ImageLoaded = false;
  InitDiskImage();
  LoadName = ShellDisplayPath(LoadName);
  ImageLoaded = core::LoadImageFileLocked(LoadName, *diskImageBuffer_).has_value();
  if (ImageLoaded) {
    DocumentPath = LoadName;
    ImageUntitled = false;
    InitDiskImage();
    return;
  }
  ReportInvalidImage(formats::RefusedImageDetail(LoadName, "File > Import diskimage"));
  LoadName.clear();
}

void TForm1::SaveDiskImage() {
  core::SaveImageFileLocked(DocumentPath, *diskImageBuffer_);
  ImageModified = false;
  ImageUntitled = false;
}

void TForm1::ShowTitle() {
  const std::string prefix = std::string(kApplicationTitle) + " - ";
  ui_.SetCaption(ImageLoaded ? prefix + std::string(core::FileNamePart(DocumentPath))
                             : prefix + "No diskimage loaded");
}

}  // namespace vellonix::ui
