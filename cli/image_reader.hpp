// Reads image after image into one disk buffer, for the commands that go
// through many of them (ls, find): the 800 K are allocated once and filled
// straight from the file, never zero-filled or copied on the way.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "vellonix/core/container.hpp"
#include "vellonix/core/geometry.hpp"

namespace vellonix::cli {

class ImageReader {
 public:
  ImageReader();

  // Loads the image at `path` by the loader's rules (size and extension),
  // under its shared lock. A file that is no image throws CommandError with
  // kInvalidImageMessage, host failures HostIoError; either way Disk() then
  // holds nothing worth reading until the next successful Load.
  core::ContainerKind Load(std::string_view path);

  const core::DiskImageBuffer& Disk() const { return *disk_; }

 private:
  std::unique_ptr<core::DiskImageBuffer> disk_;
};

// Loads each image in turn and calls `each` with its path and container
// while reader.Disk() holds it. An image that is refused (no image, a host
// error) is reported on standard error, its path in the message, and skipped;
// the result is false when any was. Errors thrown by `each` pass through.
bool ForEachImage(ImageReader& reader, std::span<const std::string> paths,
                  const std::function<void(const std::string& path, core::ContainerKind)>& each);

// Reports a skipped path or image on standard error: "path: message".
void ReportSkipped(std::string_view path, std::string_view message);

}  // namespace vellonix::cli
