#include <unistd.h>

#include <climits>

#include "host_console.hpp"

namespace vellonix::cli {

// POSIX hands arguments over as the bytes they were typed as (UTF-8 in any
// current locale), and standard streams never translate.
std::vector<std::string> Utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }

std::string RunningProgramPath() {
  std::string buffer(PATH_MAX, '\0');
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) return buffer.substr(0, static_cast<std::size_t>(length));
    buffer.resize(buffer.size() * 2);
  }
}

Utf8StandardStreams::Utf8StandardStreams() = default;
Utf8StandardStreams::~Utf8StandardStreams() = default;

}  // namespace vellonix::cli
