#include "vellonix/ui/shell_path.hpp"

#include "vellonix/core/text.hpp"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace vellonix::ui {

std::string ComposeDisplayPath(std::string_view path, std::string_view displayName) {
  if (displayName.empty()) return std::string(path);
  const std::string_view name = core::FileNamePart(displayName);
  std::string result(path.substr(0, path.size() - core::FileNamePart(path).size()));
  result += name;
  // Only the file name's own dot counts: a dot in a folder name is no extension.
  if (core::FileExtension(name).empty()) result += core::FileExtension(path);
  return result;
}

std::string ShellDisplayPath(const std::string& path) {
#ifdef _WIN32
  SHFILEINFOA info{};
  if (SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) == 0) return path;
  return ComposeDisplayPath(path, info.szDisplayName);
#else
  return path;
#endif
}

}  // namespace vellonix::ui
