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

// The Filename column's text as a host file name: a SAM name may hold
// bytes no host file name should (separators, control codes), and its
// trailing pad spaces are not part of it.
std::string HostFileNameFor(std::string samName) {
  while (!samName.empty() && samName.back() == ' ') samName.pop_back();
  for (char& ch : samName) {
    const auto code = static_cast<unsigned char>(ch);
    if (code < 0x20 || code == 0x7F || core::IsPathSeparator(ch)) ch = '_';
  }
  return core::Latin1ToUtf8(samName);
}

}  // namespace

fileops::LocalDateTime TForm1::HostLocalTime() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);  // the one UI thread calls it
  return local != nullptr ? fileops::LocalDateTimeOf(*local) : fileops::LocalDateTime{};
}

std::optional<int> TForm1::SelectedSlot() const {
  const std::optional<int> row = ui_.SelectedRow();
  if (!row || *row < 0 || *row >= static_cast<int>(directory_.ListedSlots.size())) return std::nullopt;
  return directory_.ListedSlots[static_cast<std::size_t>(*row)];
}

bool TForm1::SaveSamFile(const std::string& path) {
  const fileops::AddResult result =
      fileops::AddHostFile(*diskImageBuffer_, directory_, path, ShellDisplayPath(path), Clock());
  if (result.Refused) {
    ReportError(std::string(result.Refused->Message), result.Refused->BoxWidth);
    return false;
  }
  ui_.InsertRow(result.Row);
  AddDirEntry(result.Slot, result.Row);
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
  const std::optional<int> slot = SelectedSlot();
  if (!slot) return;
  const std::string proposal = HostFileNameFor(core::FileNameText(core::DirSlot(*diskImageBuffer_, *slot)));
  const SaveFileResult chosen = ui_.ShowSaveDialog({"", "", 1, "", proposal, /*OverwritePrompt=*/false});
  if (!chosen.Confirmed || chosen.Path.empty()) return;
  fileops::ExtractFileTo(*diskImageBuffer_, *slot, chosen.Path);
}

void TForm1::DeleteFile1Click() {
  const std::optional<int> row = ui_.SelectedRow();
  if (!SelectedSlot()) return;
  const MessageResult answer =
      ui_.ShowMessage("Delete this file from diskimage ?", MessageKind::Confirmation, MessageButtons::YesNo,
                      CentredBoxOrigin(ui_.MainWindowRect(), kDeleteBoxWidth));
  if (answer != MessageResult::Yes) return;

  const fileops::EraseResult deleted = fileops::EraseFile(*diskImageBuffer_, directory_, *row);
  ui_.RemoveRow(*row);
  if (deleted.ListEmpty) {
    for (const MenuItem item : {MenuItem::ExtractFile1, MenuItem::ViewFile1, MenuItem::RenameFile1,
                                MenuItem::DeleteFile1}) {
      ui_.SetMenuEnabled(item, false);
    }
  }
  UpdateStatusBar();
  ImageModified = true;
}

void TForm1::RenameFile1Click() {
  const std::optional<int> row = ui_.SelectedRow();
  const std::optional<int> slot = SelectedSlot();
  if (!slot) return;
  nameDialog_.Edit1Text = core::Latin1ToUtf8(fileops::CurrentFileName(*diskImageBuffer_, *slot));
  nameDialog_.Caption = "Rename file";
  nameDialog_.Edit1MaxLength = fileops::kFileNameMaxLength;
  if (!nameDialog_.ExecuteNameDialog(ui_)) return;

  const std::string shown =
      fileops::RenameFile(*diskImageBuffer_, *slot, core::Utf8ToLatin1Lossy(nameDialog_.Edit1Text));
  ui_.SetSubItem(*row, core::SubItem::kFilename, core::Latin1ToUtf8(shown));
  ImageModified = true;
}

void TForm1::Changediskname1Click() {
  if (!ImageLoaded) return;
  nameDialog_.Caption = "Change disk name";
  nameDialog_.Edit1MaxLength = fileops::DiskNameMaxLength(directory_);
  nameDialog_.Edit1Text = core::Latin1ToUtf8(fileops::CurrentDiskName(directory_));
  if (!nameDialog_.ExecuteNameDialog(ui_)) return;

  fileops::ChangeDiskName(*diskImageBuffer_, directory_, core::Utf8ToLatin1Lossy(nameDialog_.Edit1Text));
  UpdateStatusBar();
  ImageModified = true;
}

}  // namespace vellonix::ui
