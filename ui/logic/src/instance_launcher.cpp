#include "vellonix/ui/instance_launcher.hpp"

namespace vellonix::ui {

std::string WindowsCommandLine(std::string_view program, std::string_view file) {
  std::string line;
  line.reserve(program.size() + file.size() + 5);
  line += '"';
  line += program;
  line += "\" \"";
  line += file;
  line += '"';
  return line;
}

InstanceLauncher& HostInstanceLauncher() {
  static HostLauncher launcher(RunningProgramPath());
  return launcher;
}

}  // namespace vellonix::ui
