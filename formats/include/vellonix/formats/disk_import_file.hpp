// A disk image file as another tool wrote it, read from the host and
// imported: vellonix-cli's import and the program's Import read it alike.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "vellonix/core/geometry.hpp"
#include "vellonix/formats/disk_import.hpp"

namespace vellonix::formats {

// Far above any image of a SAM disk (an EDSK with every sector stored
// several times stays below it), so more is refused unread, and gzip data
// that would unpack to more are refused too.
inline constexpr std::size_t kLargestImport = 16 * 1024 * 1024;

struct ImportedFile {
  ImportResult Result;
  bool Packed = false;  // the file held gzip-compressed data
  // Why the file was refused, for the user after its name: no file, too
  // large, gzip data that cannot be unpacked, or the importer's reason.
  // Empty when it was imported.
  std::string Error;
};

// Reads the file at `utf8Path` (a regular file, under its shared image
// lock, refused unread when larger than kLargestImport), unpacks it when it
// holds gzip data, and imports the bytes into `disk`, which is left as it
// was on refusal. Host failures throw core::HostIoError.
ImportedFile ImportDiskImageFile(std::string_view utf8Path, core::DiskImageBuffer& disk);

// How many sectors an imported image lacked or held damaged, and in what:
// "3 of the disk's 1600 sectors are missing or damaged in the
// gzip-compressed EDSK image". Empty when none.
std::string DescribeImportDamage(const ImportedFile& imported);

}  // namespace vellonix::formats
