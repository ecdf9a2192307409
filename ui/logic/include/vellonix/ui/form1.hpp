// The main window's document and its commands, free of any toolkit: TForm1
// reaches the screen only through UiServices, so it runs headless in tests.
#pragma once

#include <memory>
#include <string>

#include "vellonix/core/directory.hpp"
#include "vellonix/core/geometry.hpp"
#include "vellonix/ui/ui_services.hpp"

namespace vellonix::ui {

inline constexpr const char* kApplicationTitle = "SAM Coupé Vellonix";

class TForm1 {
 public:
  // What FormCreate does for the document: the buffer, the flags, the empty
  // list and the title for no image.
  explicit TForm1(UiServices& ui);

  // Loads the file named by LoadName. Afterwards either an image is loaded
  // or the user has been told "Invalid diskimage"; host I/O errors throw
  // core::HostIoError with no image loaded.
  void LoadDiskImage();
  // Writes the image to DocumentPath in the container its extension picks.
  // Throws core::HostIoError, leaving the flags and the old file as they were.
  void SaveDiskImage();
  // Rebuilds the menu states, the list, the title and, with an image, the
  // directory state and the status bar.
  void InitDiskImage();
  // Fills list row `row` from the entry in `slot`.
  void AddDirEntry(int slot, int row);
  void UpdateStatusBar();
  void ShowTitle();

  core::DiskImageBuffer& DiskImageBuffer() { return *diskImageBuffer_; }
  const core::DiskImageBuffer& DiskImageBuffer() const { return *diskImageBuffer_; }
  core::DirectoryState& Directory() { return directory_; }
  const core::DirectoryState& Directory() const { return directory_; }

  bool ImageLoaded = false;
  bool ImageModified = false;
  bool ImageUntitled = false;
  std::string DocumentPath;  // SaveDialog1's file name
  std::string LoadName;      // OpenDialog1's file name

 protected:
  // An error box of our own, with its beep, centred for its assumed width.
  void ReportError(const std::string& text, int boxWidth);

 private:
  UiServices& ui_;
  std::unique_ptr<core::DiskImageBuffer> diskImageBuffer_;
  core::DirectoryState directory_;
};

}  // namespace vellonix::ui
