// Everything the command logic asks of the user interface. The Qt widgets
// implement it for the program; tests implement it with a script. Texts
// cross this seam as UTF-8.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vellonix::ui {

struct FileView;

enum class MessageKind {
  Error,         // caption "Error", error icon
  Confirmation,  // caption "Confirm", question icon
};

enum class MessageButtons { Ok, YesNo, YesNoCancel };

// The button that closed a message box; closing it otherwise is Cancel.
enum class MessageResult { Ok, Yes, No, Cancel };

// A box's caption by its kind, and its buttons' captions.
inline const char* MessageCaption(MessageKind kind) { return kind == MessageKind::Error ? "Error" : "Confirm"; }
inline constexpr const char* kYesButtonCaption = "&Yes";
inline constexpr const char* kNoButtonCaption = "&No";
inline constexpr const char* kCancelButtonCaption = "Cancel";
inline constexpr const char* kOkButtonCaption = "OK";

struct ScreenPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// A rectangle in pixels: a window's frame on the screen, or a control's
// place in a layout.
struct Rect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};
using WindowRect = Rect;  // the main window's frame in screen pixels

// One entry of a file dialog's filter: "Disk images (*.mgt;*.sad)" and
// "*.mgt;*.sad".
struct FilterEntry {
  std::string Description;
  std::string Patterns;
  friend bool operator==(const FilterEntry&, const FilterEntry&) = default;
};
// A filter "Description|pattern|Description|pattern" in its entries; a
// description without its pattern is dropped.
std::vector<FilterEntry> SplitFilter(const std::string& filter);

struct OpenFileRequest {
  std::string Title;
  std::string Filter;            // "Description|pattern|Description|pattern"
  std::string DefaultExtension;  // ".mgt", or empty
  std::string FileName;          // proposed
  bool MultiSelect = false;
  bool MustExist = true;
};

struct OpenFileResult {
  bool Confirmed = false;
  std::vector<std::string> Paths;  // in the dialog's order
};

struct SaveFileRequest {
  std::string Title;
  std::string Filter;
  int FilterIndex = 1;  // the entry to pre-select, from 1
  std::string DefaultExtension;
  std::string FileName;
  bool OverwritePrompt = true;
};

struct SaveFileResult {
  bool Confirmed = false;
  std::string Path;
};

// The long-lived modal dialogs and the About box; About stays last.
enum class ModalDialog { NewDiskImage, NameDialog, Options, About };
inline constexpr int kModalDialogCount = static_cast<int>(ModalDialog::About) + 1;
enum class DialogResult { Ok, Cancel };

// The commands of MainMenu1, by component name.
enum class MenuItem {
  Opendiskimage1,
  Importdiskimage1,
  Savediskimage1,
  Savediskimageas1,
  Newdiskimage1,
  Changediskname1,
  ExtractFile1,
  ViewFile1,
  AddFile1,
  RenameFile1,
  DeleteFile1,
  Exit1,
  LOAD1,
  Save1,
  Format1,
  Options1,
  about1,
};
inline constexpr int kMenuItemCount = static_cast<int>(MenuItem::about1) + 1;

// Icon number for "no icon" in the list.
inline constexpr int kNoIcon = -1;
inline constexpr int kStatusPanels = 5;
inline constexpr int kSubItems = 5;

class UiServices {
 public:
  virtual ~UiServices() = default;

  // The system's default sound; precedes every error box of our own.
  virtual void Beep() = 0;
  // Modal; the box's top-left corner at `topLeft`. Below `text` (the
  // box's own line, kept as it is) the box shows `detail` when there is
  // one: what the box is about and why, as the CLI words it.
  virtual MessageResult ShowMessage(const std::string& text, MessageKind kind, MessageButtons buttons,
                                    ScreenPoint topLeft, const std::string& detail) = 0;
  virtual OpenFileResult ShowOpenDialog(const OpenFileRequest& request) = 0;
  virtual SaveFileResult ShowSaveDialog(const SaveFileRequest& request) = 0;
  // Shown centred on the main window until closed.
  virtual DialogResult ShowModalDialog(ModalDialog dialog) = 0;
  // A host error that ended a command, shown with the error's text.
  virtual void ShowError(const std::string& text) = 0;

  // The main window, where boxes are centred.
  virtual WindowRect MainWindowRect() const = 0;

  // The file list ListView1.
  virtual void ClearRows() = 0;
  virtual int AppendRow() = 0;  // returns the new row's position
  virtual void InsertRow(int position) = 0;
  virtual void RemoveRow(int position) = 0;
  virtual void SetRowCaption(int row, const std::string& text) = 0;
  virtual void SetSubItem(int row, int subItem, const std::string& text) = 0;
  virtual void SetRowIcon(int row, int icon) = 0;       // kNoIcon or 0-3
  virtual void SetSubItemIcon(int row, int icon) = 0;   // the Filename icon, 4-29
  virtual void SelectFirstRow() = 0;                    // none when the list is empty
  virtual std::optional<int> SelectedRow() const = 0;

  // StatusBar1, panels 0-4.
  virtual void SetStatusPanel(int panel, const std::string& text) = 0;
  virtual void SetMenuEnabled(MenuItem item, bool enabled) = 0;
  virtual void SetCaption(const std::string& text) = 0;
  // A close request of the main window, which TForm1::FormClose may veto.
  virtual void CloseMainWindow() = 0;

  // The progress window Form2, modeless, centred on the main window: shown
  // (or brought up to date) with its caption and the bar's position and
  // repainted at once; then hidden again.
  virtual void ShowProgress(const std::string& caption, int position) = 0;
  virtual void HideProgress() = 0;

  // A modeless window showing `view` (file_viewer.hpp), captioned with
  // its caption; Ctrl+C there copies its text or its picture. Each call
  // opens a window of its own, which keeps what it shows.
  virtual void ShowFileViewer(const FileView& view) = 0;

  // Makes the program's last active window (the main window, or a dialog
  // open over it) the foreground window.
  virtual void BringToFront() = 0;
};

// What the front-ends' services share: the long-lived dialogs register how
// they are shown; one that has not (yet) counts as cancelled.
class WindowedUiServices : public UiServices {
 public:
  void SetDialogRunner(ModalDialog dialog, std::function<DialogResult()> run) {
    runners_[static_cast<std::size_t>(dialog)] = std::move(run);
  }
  DialogResult ShowModalDialog(ModalDialog dialog) override {
    const auto& run = runners_[static_cast<std::size_t>(dialog)];
    return run ? run() : DialogResult::Cancel;
  }

 private:
  std::array<std::function<DialogResult()>, kModalDialogCount> runners_;
};

// The top-left corner that centres a box of width `boxWidth` and the
// assumed height 122 on the main window (halves truncated toward zero).
inline ScreenPoint CentredBoxOrigin(const WindowRect& window, int boxWidth) {
  constexpr int kAssumedBoxHeight = 122;
  return {window.Left + (window.Width - boxWidth) / 2, window.Top + (window.Height - kAssumedBoxHeight) / 2};
}

}  // namespace vellonix::ui
