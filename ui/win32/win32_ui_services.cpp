#include "win32_ui_services.hpp"

#include <commctrl.h>

#include "host_text.hpp"
#include "main_menu.hpp"
#include "progbar.hpp"
#include "std_dialogs.hpp"
#include "viewer.hpp"
#include "window_metrics.hpp"

namespace vellonix::ui::win {

void Win32UiServices::Beep() { MessageBeep(0); }

MessageResult Win32UiServices::ShowMessage(const std::string& text, MessageKind kind, MessageButtons buttons,
                                           ScreenPoint topLeft, const std::string& detail) {
  return ShowPlacedMessage(parts_.Window, text, kind, buttons, topLeft, detail);
}

OpenFileResult Win32UiServices::ShowOpenDialog(const OpenFileRequest& request) {
  return RunOpenDialog(parts_.Window, request);
}

SaveFileResult Win32UiServices::ShowSaveDialog(const SaveFileRequest& request) {
  return RunSaveDialog(parts_.Window, request);
}

void Win32UiServices::ShowError(const std::string& text) {
  ShowPlacedMessage(parts_.Window, text, MessageKind::Error, MessageButtons::Ok, std::nullopt);
}

WindowRect Win32UiServices::MainWindowRect() const {
  RECT frame{};
  GetWindowRect(parts_.Window, &frame);
  // A minimized window (started so from a shortcut) stands off the screen;
  // a box is centred where it will be restored, in view.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (IsIconic(parts_.Window) && GetWindowPlacement(parts_.Window, &placement) &&
      GetMonitorInfoW(MonitorFromRect(&placement.rcNormalPosition, MONITOR_DEFAULTTONEAREST), &monitor)) {
    frame = placement.rcNormalPosition;  // relative to the work area
    OffsetRect(&frame, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
  }
  return ToRect(frame);
}

int Win32UiServices::RowCount() const {
  return static_cast<int>(SendMessageW(parts_.ListView1, LVM_GETITEMCOUNT, 0, 0));
}

void Win32UiServices::ClearRows() { SendMessageW(parts_.ListView1, LVM_DELETEALLITEMS, 0, 0); }

int Win32UiServices::AppendRow() {
  const int position = RowCount();
  InsertRow(position);
  return position;
}

void Win32UiServices::InsertRow(int position) {
  if (position < 0 || position > RowCount()) return;
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = position;
  item.pszText = const_cast<wchar_t*>(L"");
  item.iImage = I_IMAGENONE;
  SendMessageW(parts_.ListView1, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void Win32UiServices::RemoveRow(int position) {
  if (HasRow(position)) SendMessageW(parts_.ListView1, LVM_DELETEITEM, static_cast<WPARAM>(position), 0);
}

void Win32UiServices::SetCellText(int row, int column, const std::string& text) {
  if (!HasRow(row)) return;
  std::wstring wide = Wide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(parts_.ListView1, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void Win32UiServices::SetCellIcon(int row, int column, int icon) {
  if (!HasRow(row)) return;
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iSubItem = column;
  item.iImage = icon == kNoIcon ? I_IMAGENONE : icon;
  SendMessageW(parts_.ListView1, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void Win32UiServices::SetRowCaption(int row, const std::string& text) { SetCellText(row, 0, text); }

void Win32UiServices::SetSubItem(int row, int subItem, const std::string& text) {
  if (subItem >= 0 && subItem < kSubItems) SetCellText(row, subItem + 1, text);
}

void Win32UiServices::SetRowIcon(int row, int icon) { SetCellIcon(row, 0, icon); }

void Win32UiServices::SetSubItemIcon(int row, int icon) { SetCellIcon(row, kNameColumn, icon); }

void Win32UiServices::SelectFirstRow() {
  if (!HasRow(0)) return;
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(parts_.ListView1, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
}

std::optional<int> Win32UiServices::SelectedRow() const {
  const auto row = static_cast<int>(SendMessageW(parts_.ListView1, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                 LVNI_SELECTED));
  if (row < 0) return std::nullopt;
  return row;
}

void Win32UiServices::SetStatusPanel(int panel, const std::string& text) {
  if (panel < 0 || panel >= kStatusPanels) return;
  const std::wstring wide = Wide(text);
  SendMessageW(parts_.StatusBar1, SB_SETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(wide.c_str()));
}

void Win32UiServices::SetMenuEnabled(MenuItem item, bool enabled) {
  EnableMenuItem(parts_.MainMenu1, CommandId(item), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32UiServices::SetCaption(const std::string& text) { SetWindowTextW(parts_.Window, Wide(text).c_str()); }

void Win32UiServices::CloseMainWindow() { SendMessageW(parts_.Window, WM_CLOSE, 0, 0); }

void Win32UiServices::ShowProgress(const std::string& caption, int position) {
  if (form2_ == nullptr && makeForm2_) form2_ = &makeForm2_();
  if (form2_ != nullptr) form2_->ShowProgress(caption, position);
}

void Win32UiServices::HideProgress() {
  if (form2_ != nullptr) form2_->HideProgress();
}

void Win32UiServices::ShowFileViewer(const FileView& view) { ViewerWindow::Open(view, parts_.Window); }

void Win32UiServices::BringToFront() {
  if (IsIconic(parts_.Window)) ShowWindow(parts_.Window, SW_RESTORE);
  SetForegroundWindow(GetLastActivePopup(parts_.Window));
}

}  // namespace vellonix::ui::win
