#include <windows.h>
#include <shellapi.h>

#include "vellonix/ui/shell_path.hpp"
#include "vellonix/win32/wide_text.hpp"

namespace vellonix::ui {

std::string ShellDisplayPath(const std::string& path) {
  // No Windows name holds a wildcard, and the shell would take one as a
  // pattern and answer with another file's name.
  if (path.find_first_of("?*") != std::string::npos) return path;
  const auto widePath = win32::WideFromUtf8(path);
  if (!widePath || widePath->empty()) return path;
  SHFILEINFOW info{};
  if (SHGetFileInfoW(widePath->c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) == 0) return path;
  const auto displayName = win32::Utf8FromWide(info.szDisplayName);
  if (!displayName) return path;
  return ComposeDisplayPath(path, *displayName);
}

}  // namespace vellonix::ui
