// New instances on POSIX hosts: fork twice and exec, so that the new program
// is no child of ours (nothing to reap) and its one argument is the file's
// bytes exactly as given, with no shell to quote for.
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "vellonix/ui/instance_launcher.hpp"

namespace vellonix::ui {

void HostLauncher::StartInstance(const std::string& file) {
  if (program_.empty()) return;
  // Everything the children use is made before fork: between fork and exec
  // only async-signal-safe calls are allowed in a threaded program.
  std::string program = program_;
  std::string argument = file;
  char* const argv[] = {program.data(), argument.data(), nullptr};

  const pid_t child = ::fork();
  if (child < 0) return;
  if (child == 0) {
    if (::fork() == 0) {
      ::execv(argv[0], argv);
      ::_exit(127);
    }
    ::_exit(0);
  }
  // The middle process ends at once; the instance is adopted by the host.
  while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace vellonix::ui
