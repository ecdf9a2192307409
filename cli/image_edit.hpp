// What the commands that read or change files on an image share: the image
// loaded and scanned as the main window holds it, the list's "File #"
// turned into a row, names typed on the command line turned into SAM bytes.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "command.hpp"
#include "vellonix/core/directory.hpp"
#include "vellonix/core/host_file.hpp"

namespace vellonix::cli {

// An image loaded and scanned under its lock: shared when it is only read;
// exclusive from before the read until its change is saved, so that two
// commands changing one image at once both keep their change.
enum class Access { Read, Change };

struct ScannedImage {
  std::unique_ptr<core::ImageLock> Lock;
  std::string Path;
  LoadedImage Image;
  core::DirectoryState State;  // after the scan, with the status bar's disk name

  // Saves the image in place, in the container its name selects.
  void Save() const;
};

ScannedImage LoadAndScan(std::string_view path, Access access);

// The list row that "File #" `fileNumber` (slot + 1) shows; CommandError
// when no listed file has that number.
int RowOfFileNumber(const core::DirectoryState& state, int fileNumber);

// The directory slot of the file whose "File #" is `fileNumber`, when it
// is of type `typeCode`; CommandError, saying what the file is instead of
// `what` ("a SAM BASIC program"), otherwise.
int SlotOfFileOfType(const ScannedImage& image, int fileNumber, int typeCode, std::string_view what);

// The SAM bytes of a name typed as UTF-8; CommandError, naming the
// argument `what`, when a character has no SAM byte.
std::string SamBytesOrFail(std::string_view utf8, std::string_view what);

// CommandError when `name` has more than `maxLength` characters.
void CheckNameLength(std::string_view name, std::size_t maxLength, std::string_view what);

}  // namespace vellonix::cli
