#include "image_reader.hpp"

#include <array>
#include <cstdint>
#include <cstdio>
#include <span>
#include <stdexcept>
#include <string>

#include "command.hpp"
#include "terminal_text.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/formats/disk_order.hpp"

namespace vellonix::cli {

ImageReader::ImageReader() : disk_(std::make_unique_for_overwrite<core::DiskImageBuffer>()) {}

core::ContainerKind ImageReader::Load(std::string_view path) {
  const core::ImageLock lock(path, core::ImageLock::Mode::Shared);
  // As the loader: a FIFO, a device or a folder is no image, and is refused
  // before it is opened (a FIFO would wait for a writer).
  const core::HostFileKind kind = core::KindOfHostFile(path);
  if (kind != core::HostFileKind::Regular && kind != core::HostFileKind::Missing) ThrowInvalidImage(path);
  core::HostInputFile file(path);
  const auto container = core::RecogniseContainer(file.Size(), path);
  if (!container) ThrowInvalidImage(path);
  if (*container == core::ContainerKind::Sad) {
    std::array<std::uint8_t, core::kSadHeaderSize> header{};
    file.ReadExactly(header);
  }
  file.ReadExactly(*disk_);
  if (*container == core::ContainerKind::Mgt) formats::MgtOrderToDiskOrder(*disk_);
  return *container;
}

void ReportSkipped(std::string_view path, std::string_view message) {
  std::fprintf(stderr, "%s: %.*s\n", HostTextForTerminal(path).c_str(), static_cast<int>(message.size()),
               message.data());
}

bool ForEachImage(ImageReader& reader, std::span<const std::string> paths,
                  const std::function<void(const std::string& path, core::ContainerKind)>& each) {
  bool allRead = true;
  for (const std::string& path : paths) {
    core::ContainerKind container{};
    try {
      container = reader.Load(path);
    } catch (const std::runtime_error& error) {
      // A refused image or a host error: its text names the path.
      std::fprintf(stderr, "%s\n", HostTextForTerminal(error.what()).c_str());
      allRead = false;
      continue;
    }
    each(path, container);
  }
  return allRead;
}

}  // namespace vellonix::cli
