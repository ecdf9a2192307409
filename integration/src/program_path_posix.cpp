#include <unistd.h>

#include <climits>
#include <string>

#include "vellonix/integration/program_path.hpp"

namespace vellonix::integration {

std::string RunningProgramPath() {
  std::string buffer(PATH_MAX, '\0');
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) return buffer.substr(0, static_cast<std::size_t>(length));
    buffer.resize(buffer.size() * 2);  // the whole path, however long
  }
}

}  // namespace vellonix::integration
