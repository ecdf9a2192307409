#include <unistd.h>

#include "console.hpp"

namespace vellonix::cli {

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace vellonix::cli
