// What the commands that read or change files on an image share: the image
// loaded and scanned as the main window holds it, the list's "File #"
// turned into a row, names typed on the command line turned into SAM bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "command.hpp"
#include "vellonix/core/directory.hpp"

namespace vellonix::cli {

struct ScannedImage {
  LoadedImage Image;
  core::DirectoryState State;  // after the scan, with the status bar's disk name
};

ScannedImage LoadAndScan(std::string_view path);

// The list row that "File #" `fileNumber` (slot + 1) shows; CommandError
// when no listed file has that number.
int RowOfFileNumber(const core::DirectoryState& state, int fileNumber);

// The SAM bytes of a name typed as UTF-8; CommandError, naming the
// argument `what`, when a character has no SAM byte.
std::string SamBytesOrFail(std::string_view utf8, std::string_view what);

// CommandError when `name` has more than `maxLength` characters.
void CheckNameLength(std::string_view name, std::size_t maxLength, std::string_view what);

}  // namespace vellonix::cli
