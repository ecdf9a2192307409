// ShellDisplayPath against the real Windows shell: names outside ASCII, the
// short (8.3) form of a long name, and paths the shell cannot name.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "scratch_dir.hpp"
#include "vellonix/ui/shell_path.hpp"
#include "vellonix/win32/wide_text.hpp"

namespace vellonix::ui {
namespace {

using vellonix::testing::ScratchDir;
using vellonix::testing::Utf8Path;

std::string ShortPathOf(const std::string& utf8Path) {
  const std::wstring path = *win32::WideFromUtf8(utf8Path);
  std::wstring shortPath(MAX_PATH, L'\0');
  const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  shortPath.resize(length);
  return *win32::Utf8FromWide(shortPath);
}

class ShellDisplayPathWin32 : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(Utf8Path(folder_));
    vellonix::testing::WriteBytes(Utf8Path(image_), {1, 2, 3});
  }

  ScratchDir dir_;
  const std::string folder_ = dir_.File("Дискеты");
  const std::string image_ = folder_ + "\\Ökö disk.mgt";
};

TEST_F(ShellDisplayPathWin32, LongNamesOutsideAsciiComeBackAsTheyAre) {
  EXPECT_EQ(ShellDisplayPath(image_), image_);
  // The folder part is kept as given; the file-name part is the shell's.
  const std::string shortPath = ShortPathOf(image_);
  ASSERT_FALSE(shortPath.empty());
  ASSERT_NE(shortPath, image_);
  const std::string shortFolder = shortPath.substr(0, shortPath.rfind('\\') + 1);
  EXPECT_EQ(ShellDisplayPath(shortPath), shortFolder + "Ökö disk.mgt");
}

TEST_F(ShellDisplayPathWin32, PathsTheShellCannotNameAreKept) {
  for (const std::string& path : {folder_ + "\\missing.mgt", std::string("Ökö\xC3"), std::string()}) {
    EXPECT_EQ(ShellDisplayPath(path), path);
  }
}

}  // namespace
}  // namespace vellonix::ui
