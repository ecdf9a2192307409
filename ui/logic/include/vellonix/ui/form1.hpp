// The main window's document and its commands, free of any toolkit: TForm1
// reaches the screen only through UiServices, so it runs headless in tests.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "vellonix/core/directory.hpp"
#include "vellonix/core/geometry.hpp"
#include "vellonix/fileops/add_file.hpp"
#include "vellonix/integration/shell_integration.hpp"
#include "vellonix/physdisk/host_drive.hpp"
#include "vellonix/ui/instance_launcher.hpp"
#include "vellonix/ui/name_dialog.hpp"
#include "vellonix/ui/new_disk_dialog.hpp"
#include "vellonix/ui/options.hpp"
#include "vellonix/ui/progress_window.hpp"
#include "vellonix/ui/ui_services.hpp"

namespace vellonix::ui {

inline constexpr const char* kApplicationTitle = "SAM Coupé Vellonix";

// SaveDialog1's filter entry for a document path: 1 (MGT) for ".mgt" in
// any case, else 2 (SAD).
int SaveFilterIndexFor(const std::string& documentPath);
// The name SaveDialog1 proposes: the path without the extension of its
// file-name part, or the path unchanged when that part has none.
std::string ProposedSaveName(const std::string& documentPath);
// The document path a disk read from a floppy gets: its name (raw bytes)
// without codes 0-32 at either end, followed by ".mgt", or "Untitled.mgt"
// for a disk without a name. A path separator (or a zero byte) inside the
// name is shown as '_', so the proposal never leads into another folder.
std::string DocumentPathForDisk(const std::string& diskNameText);
// The document path an imported image gets: the input's path with ".mgt"
// for its extension (a ".gz" and the extension before it both go), or
// "Untitled.mgt" in its folder when nothing of its name is left.
std::string DocumentPathForImport(const std::string& inputPath);

class TForm1 {
 public:
  // What FormCreate does for the document: the buffer, the flags, the empty
  // list and the title for no image. Further images go to new instances
  // through `launcher`.
  explicit TForm1(UiServices& ui, InstanceLauncher& launcher = HostInstanceLauncher());

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

  // The document lifecycle. SaveChanges is true when the caller may go on
  // to replace or release the image; SaveDiskimageDialog when the user
  // chose a file name.
  bool SaveChanges();
  bool SaveDiskimageDialog();
  // True when the main window may close.
  bool FormClose();
  void SettingsChanged();
  void ShowAboutBox();
  void MakeNewDiskImage();

  // The menu commands.
  void Opendiskimage1Click();
  // A disk image as another tool wrote it (raw, EDSK, DSK, gzip-compressed)
  // as a new, unsaved document named after it; sectors it lacked are told.
  void Importdiskimage1Click();
  void Savediskimage1Click();
  void Savediskimageas1Click();
  void Newdiskimage1Click() { MakeNewDiskImage(); }
  void Exit1Click();
  void about1Click() { ShowAboutBox(); }
  // The Options dialog over the host's desktop ties.
  void Options1Click();

  // The file commands. SaveSamFile adds one host file and is true when it
  // was added, false when it was refused with a message; host errors throw.
  bool SaveSamFile(const std::string& path);
  void AddFile1Click();
  void ExtractFile1Click();
  void DeleteFile1Click();
  void RenameFile1Click();
  void Changediskname1Click();
  // The selected file in a viewer window of its own (also on a double
  // click or Enter in the list).
  void ViewFile1Click();
  // The list's selection changed, by the user or by a command: View File
  // is enabled exactly while a row is selected.
  void ListView1SelectItem();

  // The SAM disk commands: the floppy in the first drive copied into the
  // image as a new unsaved document, and the image written to the floppy.
  void LOAD1Click();
  void Save1Click();
  // The first floppy drive: the host's own, or the one VELLONIX_FLOPPY
  // names. Tests put a scripted drive here.
  std::unique_ptr<physdisk::BiosDisk> FloppyDrive =
      physdisk::OpenHostDrive(physdisk::FloppyFromEnvironment());

  // The host's file types and shortcuts, registering the running program.
  // Tests put a stand-in here.
  std::unique_ptr<integration::ShellIntegration> ShellTies =
      integration::MakeHostShellIntegration(RunningProgramPath());

  // Images from the command line and from drops; every name is a host path.
  // ColdStart takes the arguments after the program's own path and runs
  // once, when the event loop first runs. FilesDropped takes the dropped
  // files in the drop's order.
  void ColdStart(const std::vector<std::string>& arguments);
  void FilesDropped(const std::vector<std::string>& files);
  void OpenInNewInstance(const std::string& file);

  // The moment an added file is stamped with: the host's local time.
  std::function<fileops::LocalDateTime()> Clock = HostLocalTime;
  static fileops::LocalDateTime HostLocalTime();

  // Runs a command to its end. A host error that escapes it ends the
  // command and is shown with its text, as every command's errors are.
  void RunCommand(void (TForm1::*command)());
  void RunCommand(const std::function<void()>& command);

  NewDiskDialogModel& OKBottomDlg1() { return newDiskDialog_; }
  NameDialogModel& OKBottomDlg2() { return nameDialog_; }
  OptionsDialogModel& OKBottomDlg() { return optionsDialog_; }
  ProgressWindow& Form2() { return progressWindow_; }

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
  // Asks for a file name, saves there and shows it in the title; false when
  // the user cancelled the dialog.
  bool SaveUnderChosenName();
  // The selected row and the slot it lists, if a listed row is selected.
  struct ListedFile {
    int Row;
    int Slot;
  };
  std::optional<ListedFile> SelectedFile() const;
  // An error box of our own, with its beep, centred for its assumed width;
  // `detail` says below the box's line what failed and why.
  void ReportError(const std::string& text, int boxWidth, const std::string& detail);
  // "Invalid diskimage", for a file that Open or Import refused.
  void ReportInvalidImage(const std::string& detail);

 private:
  UiServices& ui_;
  InstanceLauncher& launcher_;
  std::unique_ptr<core::DiskImageBuffer> diskImageBuffer_;
  core::DirectoryState directory_;
  NewDiskDialogModel newDiskDialog_;
  NameDialogModel nameDialog_;
  OptionsDialogModel optionsDialog_;
  ProgressWindow progressWindow_{ui_};
  std::string importName_;  // the Import dialog's file name
  // A floppy transfer takes no input until it ends; a command that reaches
  // the window meanwhile (a drop, while it repaints) is refused with a beep.
  bool transferring_ = false;
};

}  // namespace vellonix::ui
