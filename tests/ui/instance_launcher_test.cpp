// Starting new instances: the Windows command line, and the host's own
// launcher starting a stand-in program that reports what it was given.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "scratch_dir.hpp"
#include "vellonix/ui/instance_launcher.hpp"

namespace vellonix::ui {
namespace {

namespace fs = std::filesystem;
using vellonix::testing::ReadBytes;
using vellonix::testing::ScratchDir;
using vellonix::testing::Utf8Path;

TEST(WindowsCommandLine, QuotesTheProgramAndTheFile) {
  EXPECT_EQ(WindowsCommandLine("C:\\Program Files\\SAM\\vellonix.exe", "D:\\Disks\\my disk.mgt"),
            "\"C:\\Program Files\\SAM\\vellonix.exe\" \"D:\\Disks\\my disk.mgt\"");
  EXPECT_EQ(WindowsCommandLine("C:\\vellonix.exe", "\xC3\xA9t\xC3\xA9.sad"), "\"C:\\vellonix.exe\" \"\xC3\xA9t\xC3\xA9.sad\"");
}

TEST(HostLauncher, KnowsTheRunningProgram) {
  const fs::path program = Utf8Path(RunningProgramPath());
  EXPECT_TRUE(program.is_absolute());
  EXPECT_TRUE(fs::is_regular_file(program));
  EXPECT_EQ(program.stem(), "vellonix_ui_logic_tests");
}

// What the stand-in wrote for `file`, split at its zero bytes; empty when
// it did not report within a few seconds.
std::vector<std::string> ArgumentsSeenFor(const std::string& file) {
  const fs::path seen = Utf8Path(file + ".seen");
  for (int waited = 0; waited < 200 && !fs::exists(seen); ++waited) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  const std::vector<std::uint8_t> bytes = ReadBytes(seen);
  std::vector<std::string> arguments(1);
  for (const std::uint8_t byte : bytes) {
    if (byte == 0) {
      arguments.emplace_back();
    } else {
      arguments.back() += static_cast<char>(byte);
    }
  }
  arguments.pop_back();
  return arguments;
}

TEST(HostLauncher, GivesTheProgramTheFileAsItsOneArgument) {
  const ScratchDir dir;
  // The stand-in lives under a folder with a blank, as programs do.
  fs::create_directory(dir.Path() / "Program Files");
  const fs::path standIn = dir.Path() / "Program Files" / fs::path(VELLONIX_ECHO_ARGS).filename();
  fs::copy_file(VELLONIX_ECHO_ARGS, standIn);
  const auto text = standIn.u8string();
  const std::string program(text.begin(), text.end());
  HostLauncher launcher(program);

  std::vector<std::string> names = {"plain.mgt", "two  blanks, a 'quote' & $HOME;%PATH%.sad", "\xC3\xA9t\xC3\xA9 disk.mgt"};
#ifndef _WIN32
  names.push_back("caf\xE9 \xFF.mgt");  // bytes that are no UTF-8: legal on POSIX hosts
#endif
  for (const std::string& name : names) {
    const std::string file = dir.File(name);
    launcher.StartInstance(file);
    EXPECT_EQ(ArgumentsSeenFor(file), (std::vector<std::string>{program, file})) << name;
  }
}

}  // namespace
}  // namespace vellonix::ui
