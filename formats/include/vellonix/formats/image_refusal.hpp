// The words for an image the loader refuses, one wording for the CLI and
// the program alike: "Invalid diskimage" is followed by these.
#pragma once

#include <string>
#include <string_view>

namespace vellonix::formats {

// The path, why the file is no image (its kind, or its size and extension
// against the two the loader takes) and, when it holds a disk image of
// another tool (a raw image under another name, gzip-compressed data, an
// EDSK or DSK image), the hint that `importer` (the CLI's command, or the
// program's menu command) reads it. Never throws: a file that cannot be
// looked at again is described by the host's own words.
std::string RefusedImageDetail(std::string_view utf8Path, std::string_view importer);

}  // namespace vellonix::formats
