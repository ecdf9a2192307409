// Starts a program the tests built and waits for it: the one host-specific
// piece of the test support (run_program_posix.cpp, run_program_win32.cpp).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vellonix::testing {

struct ProgramStart {
  std::filesystem::path Program;
  std::vector<std::string> Args;            // UTF-8, passed to the program as they are
  std::filesystem::path Directory;          // its working folder
  std::vector<std::string> Environment;     // "NAME=value", added to or replacing the inherited ones
  std::filesystem::path StdoutPath;         // created or truncated
  std::filesystem::path StderrPath;
};

// The program's exit code, or -1 when it did not exit normally (a signal).
// Throws std::system_error when it cannot be started.
int RunProgram(const ProgramStart& start);

}  // namespace vellonix::testing
