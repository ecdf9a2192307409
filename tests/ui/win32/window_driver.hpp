// What the suites read from the real controls, and how they work them the
// way a user would: through the controls' own messages.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host_text.hpp"
#include "main_menu.hpp"
#include "modal_helper.hpp"
#include "unit1.hpp"

namespace vellonix::ui::win::testing {

inline std::wstring CellText(HWND list, int row, int column) {
  wchar_t text[512] = L"";
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 512;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

// A cell's icon; -1 for none.
inline int CellIcon(HWND list, int row, int column) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iSubItem = column;
  SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage < 0 ? -1 : item.iImage;
}

inline int RowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

inline std::wstring PanelText(HWND bar, int panel) {
  std::wstring text(LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0)) + 1, L'\0');
  const LRESULT length =
      SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(length));
  return text;
}

inline void SelectRow(HWND list, int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

inline bool MenuEnabled(const MainWindow& window, MenuItem item) {
  return !(GetMenuState(window.Parts().MainMenu1, CommandId(item), MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
}

// A menu command as a click on the item sends it.
inline void Choose(const MainWindow& window, MenuItem item) {
  SendMessageW(window.Handle(), WM_COMMAND, CommandId(item), 0);
}

// A common file dialog's name box: an edit of its own, or the edit of a
// combo box.
inline HWND NameBox(HWND dialog) {
  if (HWND edit = GetDlgItem(dialog, 0x480)) return edit;
  HWND combo = GetDlgItem(dialog, 0x47c);
  return combo == nullptr ? nullptr : reinterpret_cast<HWND>(SendMessageW(combo, CBEM_GETEDITCONTROL, 0, 0));
}

// Types `name` into a file dialog's name box and confirms it.
inline void ChooseFile(HWND dialog, const std::wstring& name) {
  ASSERT_NE(NameBox(dialog), nullptr) << "no name box in the file dialog";
  SetWindowTextW(NameBox(dialog), name.c_str());
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

// Goes into `folder` in a file dialog, then chooses `names` there
// ("\"a\" \"b\"" for two).
inline void ChooseFilesIn(HWND dialog, const std::wstring& folder, const std::wstring& names) {
  ASSERT_NE(NameBox(dialog), nullptr) << "no name box in the file dialog";
  SetWindowTextW(NameBox(dialog), folder.c_str());
  SendMessageW(dialog, WM_COMMAND, IDOK, 0);
  ChooseFile(dialog, names);
}

// The sample image the build writes, as a Windows path (the build names it
// by its path on the build machine).
inline std::string SampleImage() {
  const auto path = std::filesystem::absolute(std::filesystem::path(VELLONIX_SAMPLE_IMAGE)).make_preferred().u8string();
  return {path.begin(), path.end()};
}

// Dispatches what is waiting on this thread, as the message loop would.
inline void RunPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace vellonix::ui::win::testing
