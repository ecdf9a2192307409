#include <windows.h>

#include <string>

#include "vellonix/integration/program_path.hpp"
#include "vellonix/win32/wide_text.hpp"

namespace vellonix::integration {

std::string RunningProgramPath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return win32::Utf8FromWide(std::wstring_view(buffer.data(), length)).value_or("");
    buffer.resize(buffer.size() * 2);  // cut short: try again with more room
  }
}

}  // namespace vellonix::integration
