// The window classes of the program's own top-level windows (the main
// window, the viewers): an arrow cursor and the dialogs' face colour.
#pragma once

#include <windows.h>

namespace vellonix::ui::win {

// Registers `name` for `procedure` in this executable; true when the class
// is there, registered now or before.
inline bool RegisterFrameClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace vellonix::ui::win
