// Runs the built vellonix-cli in a scratch folder and collects what it
// printed and its exit code.
#pragma once

#include <string>
#include <vector>

#include "run_program.hpp"
#include "scratch_dir.hpp"

namespace vellonix::testing {

struct CliRun {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

inline std::string ReadText(const std::string& path) {
  const auto bytes = ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

// How to start the program with `args` in `dir`, with `environment`
// ("NAME=value") set for it alone and its output going to `out` and `err`.
inline ProgramStart CliStart(const ScratchDir& dir, const std::vector<std::string>& args,
                             const std::vector<std::string>& environment, const std::string& out,
                             const std::string& err) {
  return {Utf8Path(VELLONIX_CLI_PATH), args, dir.Path(), environment, Utf8Path(out), false, Utf8Path(err)};
}

// Runs the program and collects what it printed. Standard output goes to
// `stdoutPath` when one is given (and is then not read back).
inline CliRun RunCli(const ScratchDir& dir, const std::vector<std::string>& args,
                     const std::vector<std::string>& environment = {}, const std::string& stdoutPath = "") {
  const std::string out = stdoutPath.empty() ? dir.File(".stdout") : stdoutPath;
  const std::string err = dir.File(".stderr");
  CliRun run;
  run.ExitCode = RunProgram(CliStart(dir, args, environment, out, err));
  if (stdoutPath.empty()) run.Out = ReadText(out);
  run.Err = ReadText(err);
  return run;
}

}  // namespace vellonix::testing
