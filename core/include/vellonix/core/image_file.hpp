// Loading and saving a whole disk image from and to a host file.
#pragma once

#include <optional>
#include <string_view>

#include "vellonix/core/container.hpp"
#include "vellonix/core/geometry.hpp"

namespace vellonix::core {

// Loads the file into `disk` when its size and extension make it an image
// and returns the container it was in; returns nothing (and leaves `disk`
// untouched) when it is no image. Host I/O errors throw HostIoError, also
// leaving `disk` untouched.
std::optional<ContainerKind> LoadImageFile(std::string_view utf8Path, DiskImageBuffer& disk);

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
