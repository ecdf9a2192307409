// The program: the component objects and common controls for this thread,
// the main window (its dialogs are made when first needed); the images
// named on the command line are opened once the message loop runs.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "host_text.hpp"
#include "unit1.hpp"
#include "vellonix/win32/com_apartment.hpp"

namespace {

// The arguments after the program's own path.
std::vector<std::string> CommandLineArguments() {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide != nullptr && i < count; ++i) arguments.push_back(vellonix::ui::win::PathFromSystem(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  const vellonix::win32::ComApartment apartment;  // the shortcuts of Options are component objects
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                     ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  vellonix::ui::win::MainWindow window;
  window.QuitWhenClosed();
  ShowWindow(window.Handle(), show);
  UpdateWindow(window.Handle());
  window.HookColdStart(CommandLineArguments());
  return vellonix::ui::win::RunMessageLoop(window);
}
