#include <io.h>

#include <cstdio>

#include "console.hpp"

namespace vellonix::cli {

bool StandardErrorIsTerminal() { return ::_isatty(::_fileno(stderr)) != 0; }

}  // namespace vellonix::cli
