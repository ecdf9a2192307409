// What the command line needs of its host: the arguments as UTF-8,
// standard output and error that carry the program's UTF-8 bytes
// unchanged, and whether a person watches standard error
// (host_console_posix.cpp, host_console_win32.cpp).
#pragma once

#include <string>
#include <vector>

namespace vellonix::cli {

// The program's arguments as UTF-8, its own name first. Windows hands a
// program its narrow argv in the ANSI code page, which loses every
// character outside it, so there they come from the UTF-16 command line.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Whether standard error is a terminal (rather than a file or a pipe), so
// that progress written there is seen by a person.
bool StandardErrorIsTerminal();

// For as long as it lives, standard output and error write bytes as they
// are (no "\n" to "\r\n" on Windows, so the output is the same on every
// host) and a console shows them as UTF-8; the console's own setting comes
// back at the end.
class Utf8StandardStreams {
 public:
  Utf8StandardStreams();
  Utf8StandardStreams(const Utf8StandardStreams&) = delete;
  Utf8StandardStreams& operator=(const Utf8StandardStreams&) = delete;
  ~Utf8StandardStreams();

 private:
  unsigned consoleCodePage_ = 0;  // the console's code page before, or 0 when none was changed
};

}  // namespace vellonix::cli
