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
  std::filesystem::path StdoutPath;         // created or truncated, or appended to:
  bool AppendStdout = false;
  std::filesystem::path StderrPath;         // created or truncated
};

// Starts all the programs at once, then waits for each. Their exit codes,
// in order; -1 for one that did not exit normally (a signal). Throws
// std::system_error when one cannot be started.
std::vector<int> RunPrograms(const std::vector<ProgramStart>& starts);

inline int RunProgram(const ProgramStart& start) { return RunPrograms({start}).front(); }

}  // namespace vellonix::testing
