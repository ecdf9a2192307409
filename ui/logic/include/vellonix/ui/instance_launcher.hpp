// Further copies of the program, one image each: a process holds one
// document, so every image but the last of several given at once goes to a
// new instance. TForm1 starts them through this interface, so that tests
// see every start; the host's own launcher stands behind it in the program.
#pragma once

#include <string>
#include <string_view>

#include "vellonix/integration/program_path.hpp"

namespace vellonix::ui {

class InstanceLauncher {
 public:
  virtual ~InstanceLauncher() = default;
  // Starts the program on the one host file `file` (a host path), its
  // window shown normally. Whether it started is not examined.
  virtual void StartInstance(const std::string& file) = 0;
};

// Starts `program` as the host starts programs. POSIX: `file` reaches the
// new process as its one argument, byte for byte, with no shell between.
// Windows: CreateProcessW with the command line WindowsCommandLine builds.
class HostLauncher : public InstanceLauncher {
 public:
  explicit HostLauncher(std::string program) : program_(std::move(program)) {}
  void StartInstance(const std::string& file) override;
  const std::string& Program() const { return program_; }

 private:
  std::string program_;
};

using integration::RunningProgramPath;

// The launcher for the running program.
InstanceLauncher& HostInstanceLauncher();

// The Windows command line of a new instance: the program path and the file
// name, each in double quotes, a blank between. The program path is quoted
// too: unquoted, a path with blanks ("C:\Program Files\...") makes the host
// try "C:\Program" first. Neither can hold a double quote on Windows.
std::string WindowsCommandLine(std::string_view program, std::string_view file);

}  // namespace vellonix::ui
