#include "scripted_ui.hpp"

#include <gtest/gtest.h>

#include <utility>

namespace vellonix::ui::testing {

namespace {

// The icons of ImageList1 a row may carry: the row marks 0-3 and, for the
// Filename column, the type icons 4-29.
constexpr int kLastRowMark = 3;
constexpr int kFirstNameIcon = 4;
constexpr int kLastNameIcon = 29;

[[noreturn]] void Fail(const std::string& what) {
  ADD_FAILURE() << what;
  throw UnscriptedCall(what);
}

struct NameOf {
  std::string operator()(const BeepCall&) const { return "Beep"; }
  std::string operator()(const MessageCall&) const { return "ShowMessage"; }
  std::string operator()(const OpenDialogCall&) const { return "ShowOpenDialog"; }
  std::string operator()(const SaveDialogCall&) const { return "ShowSaveDialog"; }
  std::string operator()(const ModalDialogCall&) const { return "ShowModalDialog"; }
  std::string operator()(const ErrorCall&) const { return "ShowError"; }
  std::string operator()(const ViewerCall&) const { return "ShowFileViewer"; }
  std::string operator()(const ViewCall& call) const { return call.Operation; }
};

}  // namespace

std::string OperationName(const UiCall& call) { return std::visit(NameOf{}, call); }

ScriptedUi::ScriptedUi() {
  // The states the menu has when the main window is created.
  for (const MenuItem item : {MenuItem::Opendiskimage1, MenuItem::Importdiskimage1, MenuItem::Newdiskimage1,
                              MenuItem::Exit1, MenuItem::LOAD1, MenuItem::Save1, MenuItem::Options1, MenuItem::about1}) {
    menu_[Index(item)] = true;
  }
  // Format1 is never visible, so it stays off with the image commands.
}

ScriptedUi::~ScriptedUi() {
  const auto left = messageAnswers_.size() + openAnswers_.size() + saveAnswers_.size() + dialogAnswers_.size();
  if (left != 0) ADD_FAILURE() << left << " scripted answer(s) were never asked for";
}

std::vector<UiCall> ScriptedUi::Interactions() const {
  std::vector<UiCall> result;
  for (const UiCall& call : calls_) {
    if (!std::holds_alternative<ViewCall>(call)) result.push_back(call);
  }
  return result;
}

std::vector<MessageCall> ScriptedUi::Messages() const {
  std::vector<MessageCall> result;
  for (const UiCall& call : calls_) {
    if (const auto* message = std::get_if<MessageCall>(&call)) result.push_back(*message);
  }
  return result;
}

template <typename Answer>
Answer ScriptedUi::Next(std::deque<Answer>& queue, const std::string& prompt) {
  if (queue.empty()) Fail("unscripted " + prompt);
  Answer answer = std::move(queue.front());
  queue.pop_front();
  return answer;
}

void ScriptedUi::Beep() { calls_.emplace_back(BeepCall{}); }

MessageResult ScriptedUi::ShowMessage(const std::string& text, MessageKind kind, MessageButtons buttons,
                                      ScreenPoint topLeft) {
  calls_.emplace_back(MessageCall{text, kind, buttons, topLeft});
  if (progressVisible_) ADD_FAILURE() << "message box \"" << text << "\" over the progress window";
  return Next(messageAnswers_, "message box \"" + text + "\"");
}

OpenFileResult ScriptedUi::ShowOpenDialog(const OpenFileRequest& request) {
  calls_.emplace_back(OpenDialogCall{request});
  return Next(openAnswers_, "open dialog \"" + request.Title + "\"");
}

SaveFileResult ScriptedUi::ShowSaveDialog(const SaveFileRequest& request) {
  calls_.emplace_back(SaveDialogCall{request});
  return Next(saveAnswers_, "save dialog \"" + request.Title + "\"");
}

DialogResult ScriptedUi::ShowModalDialog(ModalDialog dialog) {
  calls_.emplace_back(ModalDialogCall{dialog});
  const DialogAnswer answer = Next(dialogAnswers_, "modal dialog " + std::to_string(static_cast<int>(dialog)));
  if (answer.WhileShown) answer.WhileShown();
  return answer.Result;
}

void ScriptedUi::ShowError(const std::string& text) { calls_.emplace_back(ErrorCall{text}); }

void ScriptedUi::View(std::string operation, std::vector<int> numbers, std::string text) {
  calls_.emplace_back(ViewCall{std::move(operation), std::move(numbers), std::move(text)});
}

ScriptedRow& ScriptedUi::RowAt(int row, const char* operation) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) {
    Fail(std::string(operation) + " on row " + std::to_string(row) + " of " + std::to_string(rows_.size()));
  }
  return rows_[static_cast<std::size_t>(row)];
}

void ScriptedUi::SelectRow(std::optional<int> row) {
  if (row) RowAt(*row, "SelectRow");
  selected_ = row;
}

void ScriptedUi::ClearRows() {
  View("ClearRows", {});
  rows_.clear();
  selected_.reset();
}

int ScriptedUi::AppendRow() {
  View("AppendRow", {});
  rows_.emplace_back();
  return static_cast<int>(rows_.size()) - 1;
}

void ScriptedUi::InsertRow(int position) {
  View("InsertRow", {position});
  if (position < 0 || position > static_cast<int>(rows_.size())) {
    Fail("InsertRow at " + std::to_string(position) + " of " + std::to_string(rows_.size()));
  }
  rows_.insert(rows_.begin() + position, ScriptedRow{});
  // The selection stays on the row it was on.
  if (selected_ && position <= *selected_) ++*selected_;
}

void ScriptedUi::RemoveRow(int position) {
  View("RemoveRow", {position});
  RowAt(position, "RemoveRow");
  rows_.erase(rows_.begin() + position);
  if (selected_ == position) {
    selected_.reset();
  } else if (selected_ && position < *selected_) {
    --*selected_;
  }
}

void ScriptedUi::SetRowCaption(int row, const std::string& text) {
  View("SetRowCaption", {row}, text);
  RowAt(row, "SetRowCaption").Caption = text;
}

void ScriptedUi::SetSubItem(int row, int subItem, const std::string& text) {
  View("SetSubItem", {row, subItem}, text);
  if (subItem < 0 || subItem >= kSubItems) Fail("SetSubItem " + std::to_string(subItem));
  RowAt(row, "SetSubItem").SubItems[static_cast<std::size_t>(subItem)] = text;
}

void ScriptedUi::SetRowIcon(int row, int icon) {
  View("SetRowIcon", {row, icon});
  if (icon != kNoIcon && (icon < 0 || icon > kLastRowMark)) Fail("SetRowIcon " + std::to_string(icon));
  RowAt(row, "SetRowIcon").RowIcon = icon;
}

void ScriptedUi::SetSubItemIcon(int row, int icon) {
  View("SetSubItemIcon", {row, icon});
  if (icon < kFirstNameIcon || icon > kLastNameIcon) Fail("SetSubItemIcon " + std::to_string(icon));
  RowAt(row, "SetSubItemIcon").SubItemIcon = icon;
}

void ScriptedUi::SelectFirstRow() {
  View("SelectFirstRow", {});
  selected_ = rows_.empty() ? std::nullopt : std::optional<int>(0);
}

void ScriptedUi::SetStatusPanel(int panel, const std::string& text) {
  View("SetStatusPanel", {panel}, text);
  if (panel < 0 || panel >= kStatusPanels) Fail("SetStatusPanel " + std::to_string(panel));
  panels_[static_cast<std::size_t>(panel)] = text;
}

void ScriptedUi::SetMenuEnabled(MenuItem item, bool enabled) {
  View("SetMenuEnabled", {static_cast<int>(item), enabled ? 1 : 0});
  if (Index(item) >= menu_.size()) Fail("SetMenuEnabled of item " + std::to_string(static_cast<int>(item)));
  menu_[Index(item)] = enabled;
}

void ScriptedUi::SetCaption(const std::string& text) {
  View("SetCaption", {}, text);
  caption_ = text;
}

void ScriptedUi::ShowProgress(const std::string& caption, int position) {
  View("ShowProgress", {position}, caption);
  progressVisible_ = true;
}

void ScriptedUi::HideProgress() {
  View("HideProgress", {});
  progressVisible_ = false;
}

void ScriptedUi::CloseMainWindow() {
  View("CloseMainWindow", {});
  ++closeRequests_;
}

void ScriptedUi::BringToFront() { View("BringToFront", {}); }

}  // namespace vellonix::ui::testing
