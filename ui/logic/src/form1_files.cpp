// TForm1: the file commands. The disk work is done by the file operations;
// here the list rows, the counters, the menu states and the status bar are
// kept in step with it, without a rescan.
#include <ctime>

#include "vellonix/core/list_row.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/fileops/edit_entry.hpp"
#include "vellonix/fileops/extract_file.hpp"
#include "vellonix/ui/form1.hpp"
#include "vellonix/ui/shell_path.hpp"

namespace vellonix::ui {

namespace {
constexpr int kDeleteBoxWidth = 247;
}

fileops::LocalDateTime TForm1::HostLocalTime() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);  // the one UI thread calls it
  return local != nullptr ? fileops::LocalDateTimeOf(*local) : fileops::LocalDateTime{};
}

std::optional<TForm1::ListedFile> TForm1::SelectedFile() const {
  const std::optional<int> row = ui_.SelectedRow();
  if (!row || *row < 0 || *row >= static_cast<int>(directory_.ListedSlots.size())) return std::nullopt;
  return ListedFile{*row, directory_.ListedSlots[static_cast<std::size_t>(*row)]};
}

bool TForm1::SaveSamFile(const std::string& path) {
  const fileops::AddResult result =
      fileops::AddHostFile(*diskImageBuffer_, directory_, path, ShellDisplayPath(path), Clock());
  if (result.Refused) {
    ReportError(std::string(result.Refused->Message), result.Refused->BoxWidth, path + ": " + result.Reason);
    return false;
  }
  ui_.InsertRow(result.Row);
  AddDirEntry(result.Slot, result.Row);
  for (const int slot : result.Revealed) AddDirEntry(slot, ui_.AppendRow());
  ImageModified = true;
  UpdateStatusBar();
  return true;
}

void TForm1::AddFile1Click() {
  if (!ImageLoaded) return;
  const OpenFileResult chosen =
      ui_.ShowOpenDialog({"Add file", "All files (*.*)|*.*", "", "", /*MultiSelect=*/true, /*MustExist=*/true});
  if (!chosen.Confirmed) return;
  // A refused file does not stop the ones after it; a host error does.
  for (const std::string& path : chosen.Paths) SaveSamFile(path);
}

void TForm1::ExtractFile1Click() {
  const std::optional<ListedFile> file = SelectedFile();
  if (!file) return;
  const std::string proposal = fileops::HostFileNameFor(*diskImageBuffer_, file->Slot);
  // Asks before it replaces a host file, as Save As does: the old file is
  // lost otherwise.
  const SaveFileResult chosen = ui_.ShowSaveDialog({"", "", 1, "", proposal, /*OverwritePrompt=*/true});
  if (!chosen.Confirmed || chosen.Path.empty()) return;
  fileops::ExtractFileTo(*diskImageBuffer_, file->Slot, chosen.Path);
}

void TForm1::DeleteFile1Click() {
  const std::optional<ListedFile> file = SelectedFile();
  if (!file) return;
  const MessageResult answer =
      ui_.ShowMessage("Delete this file from diskimage ?", MessageKind::Confirmation, MessageButtons::YesNo,
                      CentredBoxOrigin(ui_.MainWindowRect(), kDeleteBoxWidth),
                      core::Latin1ToUtf8(core::FileSummary(*diskImageBuffer_, file->Slot)));
  if (answer != MessageResult::Yes) return;

  const fileops::EraseResult deleted = fileops::EraseFile(*diskImageBuffer_, directory_, file->Row);
  ui_.RemoveRow(file->Row);
  ListView1SelectItem();
  if (deleted.ListEmpty) {
    for (const MenuItem item : {MenuItem::ExtractFile1, MenuItem::RenameFile1, MenuItem::DeleteFile1}) {
      ui_.SetMenuEnabled(item, false);
    }
  }
  UpdateStatusBar();
  ImageModified = true;
}

void TForm1::RenameFile1Click() {
  const std::optional<ListedFile> file = SelectedFile();
  if (!file) return;
  nameDialog_.Edit1Text = core::Latin1ToUtf8(fileops::CurrentFileName(*diskImageBuffer_, file->Slot));
  nameDialog_.Caption = "Rename file";
  nameDialog_.Edit1MaxLength = fileops::kFileNameMaxLength;
  if (!nameDialog_.ExecuteNameDialog(ui_)) return;

  const std::string shown =
      fileops::RenameFile(*diskImageBuffer_, file->Slot, core::Utf8ToLatin1Lossy(nameDialog_.Edit1Text));
  ui_.SetSubItem(file->Row, core::SubItem::kFilename, core::Latin1ToUtf8(shown));
  ImageModified = true;
}

void TForm1::Changediskname1Click() {
  if (!ImageLoaded) return;
  if (const auto refusal = fileops::DiskNameRefusal(*diskImageBuffer_)) {
    ReportError(std::string(refusal->Message), refusal->BoxWidth,
                core::Latin1ToUtf8(core::FileSummary(*diskImageBuffer_, 0)));
    return;
  }
  nameDialog_.Caption = "Change disk name";
  nameDialog_.Edit1MaxLength = fileops::DiskNameMaxLength(directory_);
  nameDialog_.Edit1Text = core::Latin1ToUtf8(fileops::CurrentDiskName(directory_));
  if (!nameDialog_.ExecuteNameDialog(ui_)) return;

  fileops::ChangeDiskName(*diskImageBuffer_, directory_, core::Utf8ToLatin1Lossy(nameDialog_.Edit1Text));
  UpdateStatusBar();
  ImageModified = true;
}

}  // namespace vellonix::ui
