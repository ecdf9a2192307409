// New instances on Windows: CreateProcessW with the program's own path and
// the command line WindowsCommandLine builds, the window shown normally.
// Paths cross the program as UTF-8 and reach the host as UTF-16.
#include <windows.h>

#include <string>
#include <vector>

#include "vellonix/ui/instance_launcher.hpp"
#include "vellonix/win32/wide_text.hpp"

namespace vellonix::ui {

void HostLauncher::StartInstance(const std::string& file) {
  const auto program = win32::WideFromUtf8(program_);
  // CreateProcessW may write into the command line: it needs its own buffer.
  auto commandLine = win32::WideFromUtf8(WindowsCommandLine(program_, file));
  if (!program || program->empty() || !commandLine) return;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(program->c_str(), commandLine->data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

}  // namespace vellonix::ui
