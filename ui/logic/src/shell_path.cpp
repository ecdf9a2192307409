#include "vellonix/core/text.hpp"
#include "vellonix/ui/shell_path.hpp"

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

}  // namespace vellonix::ui
