// TForm1: the unsaved-changes prompt, open, save, save as, close, About,
// Options and the guard that turns an escaped host error into an error box.
#include <exception>

#include "vellonix/core/text.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui {

namespace {

constexpr int kSaveChangesBoxWidth = 267;

OpenFileRequest OpenDialog1(const std::string& fileName) {
  return {"Open diskimage", "Disk images (*.mgt;*.sad)|*.mgt;*.sad|All files (*.*)|*.*", ".mgt", fileName,
          /*MultiSelect=*/false, /*MustExist=*/true};
}

SaveFileRequest SaveDialog1(const std::string& documentPath) {
  return {"Save diskimage as ...", "MGT diskimage|*.mgt|SAD diskimage|*.sad", SaveFilterIndexFor(documentPath),
          ".mgt", ProposedSaveName(documentPath), /*OverwritePrompt=*/true};
}

}  // namespace

int SaveFilterIndexFor(const std::string& documentPath) {
  return core::HasExtension(documentPath, ".MGT") ? 1 : 2;
}

std::string ProposedSaveName(const std::string& documentPath) {
  // Backwards to the first dot or separator: a dot in a folder name is no
  // extension of the file.
  for (std::size_t i = documentPath.size(); i-- > 0;) {
    if (core::IsPathSeparator(documentPath[i])) break;
    if (documentPath[i] == '.') return documentPath.substr(0, i);
  }
  return documentPath;
}

bool TForm1::SaveChanges() {
  if (!ImageModified) return true;
  const MessageResult answer =
      ui_.ShowMessage("Save changes to diskimage ?", MessageKind::Confirmation, MessageButtons::YesNoCancel,
                      CentredBoxOrigin(ui_.MainWindowRect(), kSaveChangesBoxWidth),
                      std::string(core::FileNamePart(DocumentPath)));
  if (answer == MessageResult::No) return true;
  if (answer != MessageResult::Yes) return false;
  if (ImageUntitled) return SaveUnderChosenName();
  SaveDiskImage();
  return true;
}

bool TForm1::SaveDiskimageDialog() {
  const std::string previous = DocumentPath;
  const SaveFileResult chosen = ui_.ShowSaveDialog(SaveDialog1(previous));
  if (!chosen.Confirmed || chosen.Path.empty()) {
    DocumentPath = previous;
    return false;
  }
  DocumentPath = chosen.Path;
  return true;
}

bool TForm1::SaveUnderChosenName() {
  // A failed save puts the old path back, so the title and the next Save
  // still name the file the image belongs to.
  const std::string previous = DocumentPath;
  if (!SaveDiskimageDialog()) return false;
  try {
    SaveDiskImage();
  } catch (...) {
    DocumentPath = previous;
    throw;
  }
  ShowTitle();
  return true;
}

void TForm1::Savediskimage1Click() {
  if (ImageUntitled) {
    SaveUnderChosenName();
  } else {
    SaveDiskImage();
  }
}

void TForm1::Savediskimageas1Click() { SaveUnderChosenName(); }

void TForm1::Opendiskimage1Click() {
  if (!SaveChanges()) return;
  const OpenFileResult chosen = ui_.ShowOpenDialog(OpenDialog1(LoadName));
  if (!chosen.Confirmed || chosen.Paths.empty()) return;
  LoadName = chosen.Paths.front();
  LoadDiskImage();
}

void TForm1::Exit1Click() { ui_.CloseMainWindow(); }

bool TForm1::FormClose() { return SaveChanges(); }

void TForm1::SettingsChanged() { ui_.Beep(); }

void TForm1::ShowAboutBox() { ui_.ShowModalDialog(ModalDialog::About); }

void TForm1::Options1Click() { optionsDialog_.ExecuteOptionsDialog(ui_, *ShellTies); }

void TForm1::RunCommand(void (TForm1::*command)()) {
  RunCommand([this, command] { (this->*command)(); });
}

void TForm1::RunCommand(const std::function<void()>& command) {
  if (transferring_) {
    ui_.Beep();  // refused input: the floppy transfer runs to its end first
    return;
  }
  try {
    command();
  } catch (const std::exception& error) {
    ui_.ShowError(error.what());
  }
}

}  // namespace vellonix::ui
