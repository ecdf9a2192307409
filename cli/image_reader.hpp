// Lists image after image, for the commands that go through many of them
// (ls, find): each is read where it lies, in its own container's order
// (mapped where the host allows), never copied into a disk buffer, and the
// next few are read ahead while one is listed.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "vellonix/core/container.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/listing.hpp"

namespace vellonix::cli {

struct ImageListing {
  core::ContainerKind Container = core::ContainerKind::Mgt;
  core::DirectoryListing Listing;
};

class ImageReader {
 public:
  // Lists the image at `path` by the loader's rules (size and extension),
  // under its shared lock. A file that is no image throws CommandError with
  // kInvalidImageMessage, host failures HostIoError.
  ImageListing List(std::string_view path);

 private:
  core::ImageFileView file_;
};

// How many images ForEachImage asks the host to read ahead of the one it
// lists: enough to keep a disk busy, few enough to bound what is cached.
inline constexpr std::size_t kImagesReadAhead = 8;

// Lists each image in turn, in order, and calls `each` with its path and
// listing. An image that is refused (no image, a host error) is reported on
// standard error, its path in the message, and skipped; the result is false
// when any was. Errors thrown by `each` pass through.
bool ForEachImage(ImageReader& reader, std::span<const std::string> paths,
                  const std::function<void(const std::string& path, const ImageListing& image)>& each);

// Reports a skipped path or image on standard error: "path: message".
void ReportSkipped(std::string_view path, std::string_view message);

}  // namespace vellonix::cli
