// TForm1: the SAM disk menu. The floppy is copied into the image, or the
// image onto the floppy, by the whole-disk transfers; here the document
// follows the result and a failure is told.
#include "vellonix/core/text.hpp"
#include "vellonix/physdisk/samdisk.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui {

namespace {

constexpr int kLoadErrorBoxWidth = 167;
constexpr int kWriteErrorBoxWidth = 151;

// Marks a floppy transfer as running for as long as it lives.
class TransferGuard {
 public:
  explicit TransferGuard(bool& flag) : flag_(flag) { flag_ = true; }
  TransferGuard(const TransferGuard&) = delete;
  TransferGuard& operator=(const TransferGuard&) = delete;
  ~TransferGuard() { flag_ = false; }

 private:
  bool& flag_;
};

}  // namespace

std::string DocumentPathForDisk(const std::string& diskNameText) {
  if (diskNameText.empty()) return "Untitled.mgt";
  const auto blankOrControl = [](char ch) { return static_cast<unsigned char>(ch) <= 32; };
  std::size_t first = 0;
  std::size_t last = diskNameText.size();
  while (first < last && blankOrControl(diskNameText[first])) ++first;
  while (last > first && blankOrControl(diskNameText[last - 1])) --last;
  std::string name = diskNameText.substr(first, last - first);
  // A zero byte would end the name early wherever it is handed on.
  for (char& ch : name) {
    if (core::IsPathSeparator(ch) || ch == '\0') ch = '_';
  }
  return core::Latin1ToUtf8(name) + ".mgt";
}

void TForm1::LOAD1Click() {
  if (!SaveChanges()) return;
  ImageLoaded = false;
  InitDiskImage();
  physdisk::TransferResult failed;
  {
    const TransferGuard guard(transferring_);
    failed = physdisk::LoadSamDisk(*FloppyDrive, *diskImageBuffer_, progressWindow_);
  }
  ImageLoaded = !failed;
  if (failed) {
    ReportError("\r\nDisk Loading Error", kLoadErrorBoxWidth, physdisk::DescribeFailure(*failed, *FloppyDrive));
    return;
  }
  InitDiskImage();
  DocumentPath = DocumentPathForDisk(directory_.DiskNameText);
  ShowTitle();
  ImageModified = true;
  ImageUntitled = true;
}

void TForm1::Save1Click() {
  // Whatever the buffer holds goes to the floppy, image or not; the
  // document does not change.
  physdisk::TransferResult failed;
  {
    const TransferGuard guard(transferring_);
    failed = physdisk::SaveSamDisk(*FloppyDrive, *diskImageBuffer_, progressWindow_);
  }
  if (failed) ReportError("\r\nDisk write Error", kWriteErrorBoxWidth, physdisk::DescribeFailure(*failed, *FloppyDrive));
}

}  // namespace vellonix::ui
