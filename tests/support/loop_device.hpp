// A loop device over a file: a real block device, attached for one test
// where the host lends one (losetup, as root), detached at the end. POSIX
// hosts only.
#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "scratch_dir.hpp"

namespace vellonix::testing {

inline std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char ch : text) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  return quoted + "'";
}

class LoopDevice {
 public:
  LoopDevice(const std::string& backing, const ScratchDir& dir) {
    const std::string out = dir / ".losetup";
    const std::string command = "losetup -f --show " + ShellQuoted(backing) + " >" + ShellQuoted(out) + " 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream in(out);
    const std::string said{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (status == 0 && said.rfind("/dev/", 0) == 0) {
      device_ = said.substr(0, said.find('\n'));
    } else {
      why_ = said.empty() ? "losetup did not run" : said;
    }
  }
  LoopDevice(const LoopDevice&) = delete;
  LoopDevice& operator=(const LoopDevice&) = delete;
  ~LoopDevice() {
    if (!device_.empty()) std::system(("losetup -d " + ShellQuoted(device_)).c_str());
  }
  // Empty when none could be attached; Why() then says why.
  const std::string& Device() const { return device_; }
  const std::string& Why() const { return why_; }

 private:
  std::string device_;
  std::string why_;
};

}  // namespace vellonix::testing
