// The path as the host shell shows it: on Windows a short or oddly cased
// file name becomes the long name the shell displays; elsewhere the path is
// returned unchanged.
#pragma once

#include <string>
#include <string_view>

namespace vellonix::ui {

std::string ShellDisplayPath(const std::string& path);

// The directory part of `path` followed by `displayName`, with the path's
// own extension appended when the display name has none (the shell may hide
// extensions). An empty display name means the shell gave none.
std::string ComposeDisplayPath(std::string_view path, std::string_view displayName);

}  // namespace vellonix::ui
