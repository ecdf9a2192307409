#include "vellonix/core/image_file.hpp"

#include <vector>

#include "vellonix/core/host_file.hpp"

namespace vellonix::core {

std::optional<ContainerKind> LoadImageFile(std::string_view utf8Path, DiskImageBuffer& disk) {
  // A FIFO, a device or a folder can never have an image's size; refuse it
  // before opening it, which for a FIFO would wait for a writer.
  const HostFileKind kind = KindOfHostFile(utf8Path);
  if (kind != HostFileKind::Regular && kind != HostFileKind::Missing) return std::nullopt;
  HostInputFile file(utf8Path);
  const auto container = RecogniseContainer(file.Size(), utf8Path);
  if (!container) return std::nullopt;
  // Read whole before decoding, so that a failed read leaves `disk` as it was.
  std::vector<std::uint8_t> bytes(*container == ContainerKind::Sad ? kSadFileSize : kMgtFileSize);
  file.ReadExactly(bytes);
  DecodeContainer(*container, bytes, disk);
  return container;
}

ContainerKind SaveImageFile(std::string_view utf8Path, const DiskImageBuffer& disk) {
  const ContainerKind kind = ContainerForSave(utf8Path);
  WriteFileSafely(utf8Path, EncodeContainer(kind, disk));
  return kind;
}

std::optional<ContainerKind> LoadImageFileLocked(std::string_view utf8Path, DiskImageBuffer& disk) {
  const ImageLock lock(utf8Path, ImageLock::Mode::Shared);
  return LoadImageFile(utf8Path, disk);
}

ContainerKind SaveImageFileLocked(std::string_view utf8Path, const DiskImageBuffer& disk) {
  std::optional<ImageLock> lock;
  if (KindOfHostFile(utf8Path) == HostFileKind::Regular) lock.emplace(utf8Path, ImageLock::Mode::Exclusive);
  return SaveImageFile(utf8Path, disk);
}

}  // namespace vellonix::core
