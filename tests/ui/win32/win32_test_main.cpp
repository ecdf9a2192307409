// Runs the Win32 window suites on the test's own thread, as the program
// runs its windows: in a component-object apartment, with the common
// controls registered. The executable carries the program's resources
// (icons and manifest), so the windows find what they find in the program.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "vellonix/win32/com_apartment.hpp"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const vellonix::win32::ComApartment apartment;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                     ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  return RUN_ALL_TESTS();
}
