#include <unistd.h>

#include "host_console.hpp"

namespace vellonix::cli {

// POSIX hands arguments over as the bytes they were typed as (UTF-8 in any
// current locale), and standard streams never translate.
std::vector<std::string> Utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

Utf8StandardStreams::Utf8StandardStreams() = default;
Utf8StandardStreams::~Utf8StandardStreams() = default;

}  // namespace vellonix::cli
