// Runs the built vellonix-cli in a scratch folder and collects what it
// printed and its exit code.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "scratch_dir.hpp"

namespace vellonix::testing {

struct CliRun {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (const char ch : text) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  return quoted + "'";
}

inline std::string ReadText(const std::string& path) {
  const auto bytes = ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

// Runs the program with `args` in `dir`, with `environment` ("NAME=value")
// set for it alone.
inline CliRun RunCli(const ScratchDir& dir, const std::vector<std::string>& args,
                     const std::vector<std::string>& environment = {}) {
  std::string command = "cd " + ShellQuote(dir.Path().string()) + " && env";
  for (const auto& setting : environment) command += " " + ShellQuote(setting);
  command += " " + ShellQuote(VELLONIX_CLI_PATH);
  for (const auto& arg : args) command += " " + ShellQuote(arg);
  const std::string out = dir.File(".stdout"), err = dir.File(".stderr");
  command += " >" + ShellQuote(out) + " 2>" + ShellQuote(err);
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(out), ReadText(err)};
}

}  // namespace vellonix::testing
