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

}  // namespace vellonix::core
