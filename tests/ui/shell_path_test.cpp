// The display form of a path: the shell's name for the file in the path's
// own directory, with the extension put back when the shell hides it.
#include <gtest/gtest.h>

#include <string>

#include "vellonix/ui/shell_path.hpp"

namespace vellonix::ui {
namespace {

TEST(ComposeDisplayPath, KeepsTheDirectoryAndRestoresAHiddenExtension) {
  struct Case {
    const char* Path;
    const char* DisplayName;
    const char* Expected;
  };
  const Case cases[] = {
      {"/images/DISKON~1.MGT", "disk one", "/images/disk one.MGT"},       // extension hidden
      {"/images/disk.mgt", "Disk.mgt", "/images/Disk.mgt"},               // long name, own case
      {"/images/disk.sad", "Backup.mgt", "/images/Backup.mgt"},           // the shell's own extension wins
      {"C:\\img\\disk.sad", "Disk", "C:\\img\\Disk.sad"},                 // backslash separators
      {"disk.mgt", "Disk", "Disk.mgt"},                                   // no directory part
      {"/a.b/c.d/disk.tar.mgt", "disk.tar", "/a.b/c.d/disk.tar"},         // has an extension already
      {"/images/disk.mgt", "sub/Disk", "/images/Disk.mgt"},               // only the name part is used
      {"/images/disk.mgt", "", "/images/disk.mgt"},                       // the shell gave no name
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ComposeDisplayPath(c.Path, c.DisplayName), c.Expected) << c.Path << " + " << c.DisplayName;
  }
}

TEST(ComposeDisplayPath, TakesTheExtensionFromTheFileNameOnly) {
  // A dot in a directory name is no extension of the file.
  EXPECT_EQ(ComposeDisplayPath("/my.images/README", "ReadMe"), "/my.images/ReadMe");
  EXPECT_EQ(ComposeDisplayPath("C:\\img.old\\disk", "Disk"), "C:\\img.old\\Disk");
}

#ifndef _WIN32
TEST(ShellDisplayPath, ReturnsThePathUnchangedWithoutAShell) {
  for (const std::string path : {"/tmp/DISKON~1.MGT", "relative/disk.sad", "/no/such/file", "", "C:\\x\\y.mgt"}) {
    EXPECT_EQ(ShellDisplayPath(path), path);
  }
}
#endif

}  // namespace
}  // namespace vellonix::ui
