#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <system_error>

#include "command.hpp"
#include "host_console.hpp"
#include "vellonix/win32/wide_text.hpp"

namespace vellonix::cli {

namespace {

struct LocalFreer {
  void operator()(LPWSTR* memory) const { LocalFree(memory); }
};

bool IsConsole(DWORD stream) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(stream), &mode) != 0;
}

}  // namespace

std::vector<std::string> Utf8Arguments(int, char**) {
  int count = 0;
  const std::unique_ptr<LPWSTR, LocalFreer> wide(CommandLineToArgvW(GetCommandLineW(), &count));
  if (!wide) throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "CommandLineToArgvW");
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) {
    auto utf8 = win32::Utf8FromWide(wide.get()[i]);
    if (!utf8) throw CommandError("argument " + std::to_string(i) + " is not valid Unicode");
    arguments.push_back(std::move(*utf8));
  }
  return arguments;
}

bool StandardErrorIsTerminal() { return ::_isatty(::_fileno(stderr)) != 0; }

Utf8StandardStreams::Utf8StandardStreams() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  if (IsConsole(STD_OUTPUT_HANDLE) || IsConsole(STD_ERROR_HANDLE)) {
    const UINT previous = GetConsoleOutputCP();
    if (previous != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) consoleCodePage_ = previous;
  }
}

Utf8StandardStreams::~Utf8StandardStreams() {
  if (consoleCodePage_ == 0) return;
  std::fflush(stdout);
  std::fflush(stderr);
  SetConsoleOutputCP(consoleCodePage_);
}

}  // namespace vellonix::cli
