// The details the program's boxes give below their own line, for the
// refusals whose words no lower layer holds yet.
#pragma once

#include <string>
#include <string_view>

namespace vellonix::ui {

// Why the loader refused the file at `path`, after its path: "disk.dsk:
// 819,200 bytes, an MGT image's size, but named .dsk, not .mgt". Looks at
// the file again; a file that is gone meanwhile is said to be so.
std::string InvalidImageDetail(std::string_view path);

}  // namespace vellonix::ui
