// A scripted stand-in for the user interface: it keeps the state of the main
// window's view, logs every call in order and answers prompts from queues
// the test fills beforehand. A prompt nobody scripted fails the test.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "vellonix/ui/file_viewer.hpp"
#include "vellonix/ui/ui_services.hpp"

namespace vellonix::ui::testing {

// One entry of the call log per UiServices call.
struct BeepCall {
  friend bool operator==(const BeepCall&, const BeepCall&) = default;
};
struct MessageCall {
  std::string Text;
  MessageKind Kind = MessageKind::Error;
  MessageButtons Buttons = MessageButtons::Ok;
  ScreenPoint TopLeft;
  friend bool operator==(const MessageCall&, const MessageCall&) = default;
};
struct OpenDialogCall {
  OpenFileRequest Request;
};
struct SaveDialogCall {
  SaveFileRequest Request;
};
struct ModalDialogCall {
  ModalDialog Dialog = ModalDialog::About;
};
struct ErrorCall {
  std::string Text;
};
// A viewer window opened on a file; it keeps what it shows.
struct ViewerCall {
  FileView View;
};
// Everything that only changes the view: the operation's name, its numeric
// arguments in declaration order (menu items and flags as integers) and its
// text, if any.
struct ViewCall {
  std::string Operation;
  std::vector<int> Numbers;
  std::string Text;
};

using UiCall = std::variant<BeepCall, MessageCall, OpenDialogCall, SaveDialogCall, ModalDialogCall, ErrorCall,
                            ViewerCall, ViewCall>;

// "Beep", "ShowMessage", "ShowOpenDialog", ... or a view operation's name.
std::string OperationName(const UiCall& call);

// Thrown (after the test has been marked failed) when the code under test
// asks for an answer the script does not hold, or calls the view with
// arguments no list view would accept.
class UnscriptedCall : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

struct ScriptedRow {
  std::string Caption;
  std::array<std::string, kSubItems> SubItems;
  int RowIcon = kNoIcon;
  int SubItemIcon = kNoIcon;
};

class ScriptedUi : public UiServices {
 public:
  ScriptedUi();
  // Answers still queued mean the script expected a prompt that never came.
  ~ScriptedUi() override;

  // The script.
  void QueueMessageAnswer(MessageResult answer) { messageAnswers_.push_back(answer); }
  void QueueOpenAnswer(OpenFileResult answer) { openAnswers_.push_back(std::move(answer)); }
  void QueueOpenPaths(std::vector<std::string> paths) { QueueOpenAnswer({true, std::move(paths)}); }
  void QueueOpenCancel() { QueueOpenAnswer({}); }
  void QueueSaveAnswer(SaveFileResult answer) { saveAnswers_.push_back(std::move(answer)); }
  void QueueSavePath(std::string path) { QueueSaveAnswer({true, std::move(path)}); }
  void QueueSaveCancel() { QueueSaveAnswer({}); }
  // `whileShown` plays the user's part inside the dialog (picking a format,
  // typing a name) before it closes with `answer`.
  void QueueDialogAnswer(DialogResult answer, std::function<void()> whileShown = {}) {
    dialogAnswers_.push_back({answer, std::move(whileShown)});
  }
  void SetMainWindowRect(const WindowRect& rect) { window_ = rect; }
  // The user picking a row (or none) in the list.
  void SelectRow(std::optional<int> row);
  // Forces a menu state, e.g. to see that the code under test resets it.
  void ForceMenuEnabled(MenuItem item, bool enabled) { menu_[Index(item)] = enabled; }

  // What happened.
  const std::vector<UiCall>& Calls() const { return calls_; }
  // The calls that reached the user (beeps, boxes, dialogs, errors), in order.
  std::vector<UiCall> Interactions() const;
  std::vector<MessageCall> Messages() const;
  void ClearCalls() { calls_.clear(); }

  // The view as it stands.
  const std::vector<ScriptedRow>& Rows() const { return rows_; }
  const std::array<std::string, kStatusPanels>& StatusPanels() const { return panels_; }
  bool MenuEnabled(MenuItem item) const { return menu_[Index(item)]; }
  const std::string& Caption() const { return caption_; }

  // UiServices.
  void Beep() override;
  MessageResult ShowMessage(const std::string& text, MessageKind kind, MessageButtons buttons,
                            ScreenPoint topLeft) override;
  OpenFileResult ShowOpenDialog(const OpenFileRequest& request) override;
  SaveFileResult ShowSaveDialog(const SaveFileRequest& request) override;
  DialogResult ShowModalDialog(ModalDialog dialog) override;
  void ShowError(const std::string& text) override;
  WindowRect MainWindowRect() const override { return window_; }
  void ClearRows() override;
  int AppendRow() override;
  void InsertRow(int position) override;
  void RemoveRow(int position) override;
  void SetRowCaption(int row, const std::string& text) override;
  void SetSubItem(int row, int subItem, const std::string& text) override;
  void SetRowIcon(int row, int icon) override;
  void SetSubItemIcon(int row, int icon) override;
  void SelectFirstRow() override;
  std::optional<int> SelectedRow() const override { return selected_; }
  void SetStatusPanel(int panel, const std::string& text) override;
  void SetMenuEnabled(MenuItem item, bool enabled) override;
  void SetCaption(const std::string& text) override;
  void CloseMainWindow() override;
  void BringToFront() override;
  int CloseRequests() const { return closeRequests_; }
  void ShowProgress(const std::string& caption, int position) override;
  void HideProgress() override;
  void ShowFileViewer(const FileView& view) override { calls_.emplace_back(ViewerCall{view}); }
  bool ProgressVisible() const { return progressVisible_; }

 private:
  static std::size_t Index(MenuItem item) { return static_cast<std::size_t>(item); }
  void View(std::string operation, std::vector<int> numbers, std::string text = {});
  ScriptedRow& RowAt(int row, const char* operation);
  template <typename Answer>
  Answer Next(std::deque<Answer>& queue, const std::string& prompt);

  std::vector<UiCall> calls_;
  std::deque<MessageResult> messageAnswers_;
  std::deque<OpenFileResult> openAnswers_;
  std::deque<SaveFileResult> saveAnswers_;
  struct DialogAnswer {
    DialogResult Result;
    std::function<void()> WhileShown;
  };
  std::deque<DialogAnswer> dialogAnswers_;
  WindowRect window_{0, 0, 538, 319};
  std::vector<ScriptedRow> rows_;
  std::optional<int> selected_;
  std::array<std::string, kStatusPanels> panels_;
  std::array<bool, kMenuItemCount> menu_{};
  std::string caption_;
  int closeRequests_ = 0;
  bool progressVisible_ = false;
};

}  // namespace vellonix::ui::testing
