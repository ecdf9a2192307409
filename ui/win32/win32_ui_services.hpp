// The user-interface services over the main window's controls: each call is
// a thin translation into Win32 messages, texts converted from UTF-8.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <utility>

#include "vellonix/ui/ui_services.hpp"

namespace vellonix::ui::win {

class TForm2;

// What the services act on; the main window owns all of it.
struct MainWindowParts {
  HWND Window = nullptr;
  HWND ListView1 = nullptr;
  HWND StatusBar1 = nullptr;
  HMENU MainMenu1 = nullptr;
};

class Win32UiServices : public WindowedUiServices {
 public:
  explicit Win32UiServices(const MainWindowParts& parts) : parts_(parts) {}

  // The progress window, made by `make` when a transfer first shows it.
  void SetProgressWindow(std::function<TForm2&()> make) {
    makeForm2_ = std::move(make);
    form2_ = nullptr;
  }

  void Beep() override;
  MessageResult ShowMessage(const std::string& text, MessageKind kind, MessageButtons buttons, ScreenPoint topLeft,
                            const std::string& detail) override;
  OpenFileResult ShowOpenDialog(const OpenFileRequest& request) override;
  SaveFileResult ShowSaveDialog(const SaveFileRequest& request) override;
  void ShowError(const std::string& text) override;
  WindowRect MainWindowRect() const override;
  void ClearRows() override;
  int AppendRow() override;
  void InsertRow(int position) override;
  void RemoveRow(int position) override;
  void SetRowCaption(int row, const std::string& text) override;
  void SetSubItem(int row, int subItem, const std::string& text) override;
  void SetRowIcon(int row, int icon) override;
  void SetSubItemIcon(int row, int icon) override;
  void SelectFirstRow() override;
  std::optional<int> SelectedRow() const override;
  void SetStatusPanel(int panel, const std::string& text) override;
  void SetMenuEnabled(MenuItem item, bool enabled) override;
  void SetCaption(const std::string& text) override;
  void CloseMainWindow() override;
  void ShowProgress(const std::string& caption, int position) override;
  void HideProgress() override;
  void ShowFileViewer(const FileView& view) override;
  void BringToFront() override;

 private:
  int RowCount() const;
  bool HasRow(int row) const { return row >= 0 && row < RowCount(); }
  void SetCellText(int row, int column, const std::string& text);
  void SetCellIcon(int row, int column, int icon);

  MainWindowParts parts_;
  std::function<TForm2&()> makeForm2_;
  TForm2* form2_ = nullptr;
};

}  // namespace vellonix::ui::win
