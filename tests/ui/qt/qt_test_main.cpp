// Runs the Qt suites without a display and without touching the user's
// home: offscreen platform, a fresh HOME and runtime folder per run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::string home = (std::filesystem::temp_directory_path() / "vellonix-qt-test-XXXXXX").string();
  if (mkdtemp(home.data()) == nullptr) return 1;
  setenv("HOME", home.c_str(), 1);
  const std::string runtime = home + "/runtime";
  std::filesystem::create_directory(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);

  QApplication app(argc, argv);
  const int result = RUN_ALL_TESTS();
  std::error_code ignored;
  std::filesystem::remove_all(home, ignored);
  return result;
}
