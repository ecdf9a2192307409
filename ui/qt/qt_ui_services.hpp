// The user-interface services over the main window's widgets: each call is
// a thin translation into Qt, texts converted from UTF-8.
#pragma once

#include <array>

#include "image_list.hpp"
#include "vellonix/ui/ui_services.hpp"

class QAction;
class QLabel;
class QTreeWidget;
class QWidget;

namespace vellonix::ui::qt {

class TForm2;

// What the services act on; the main window owns all of it.
struct MainWindowParts {
  QWidget* Window = nullptr;
  QTreeWidget* ListView1 = nullptr;
  std::array<QLabel*, kStatusPanels> Panels{};
  std::array<QAction*, kMenuItemCount> Actions{};
};

class QtUiServices : public WindowedUiServices {
 public:
  explicit QtUiServices(const MainWindowParts& parts) : parts_(parts) {}

  void SetProgressWindow(TForm2* form2) { form2_ = form2; }

  void Beep() override;
  MessageResult ShowMessage(const std::string& text, MessageKind kind, MessageButtons buttons,
                            ScreenPoint topLeft) override;
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
  MainWindowParts parts_;
  ImageList images_;
  TForm2* form2_ = nullptr;
};

}  // namespace vellonix::ui::qt
