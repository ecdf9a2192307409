#include "vellonix/ui/shell_path.hpp"

namespace vellonix::ui {

// No shell here renames what it shows: a file's name is its display name.
std::string ShellDisplayPath(const std::string& path) { return path; }

}  // namespace vellonix::ui
