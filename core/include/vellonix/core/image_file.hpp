// Loading and saving a whole disk image from and to a host file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vellonix/core/container.hpp"
#include "vellonix/core/geometry.hpp"

namespace vellonix::core {

// Loads the file into `disk` when its size and extension make it an image
// and returns the container it was in; returns nothing (and leaves `disk`
// untouched) when it is no image. Host I/O errors throw HostIoError, also
// leaving `disk` untouched.
std::optional<ContainerKind> LoadImageFile(std::string_view utf8Path, DiskImageBuffer& disk);

// A file the loader refused, as far as the words for the refusal need it.
struct RefusedImage {
  std::string Reason;               // why it is no image: its kind, or its size and extension
  std::uintmax_t Size = 0;
  std::vector<std::uint8_t> Bytes;  // all of a regular file of at most the size asked for
};
// Looks again at the file at `utf8Path`, reading it whole when it is a
// regular file of at most `readUpTo` bytes. Host errors throw HostIoError.
RefusedImage ExamineRefusedImage(std::string_view utf8Path, std::size_t readUpTo);

// Saves `disk` in the container the name's extension selects, safely
// (see WriteFileSafely), and returns that container.
ContainerKind SaveImageFile(std::string_view utf8Path, const DiskImageBuffer& disk);

// The same for callers that do not hold the image's lock (ImageLock): done
// under it, so that another copy of the program is never in the middle of
// changing the image when it is read or replaced. A save to a new name
// needs no lock.
std::optional<ContainerKind> LoadImageFileLocked(std::string_view utf8Path, DiskImageBuffer& disk);
ContainerKind SaveImageFileLocked(std::string_view utf8Path, const DiskImageBuffer& disk);

}  // namespace vellonix::core
