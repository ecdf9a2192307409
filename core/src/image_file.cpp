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

namespace {

// What a path names when it is no regular file, as the refusal says it.
std::string_view KindInWords(HostFileKind kind) {
  switch (kind) {
    case HostFileKind::Directory:
      return "a folder, not a file";
    case HostFileKind::Fifo:
      return "a FIFO, not a regular file";
    case HostFileKind::CharacterDevice:
      return "a character device, not a regular file";
    case HostFileKind::BlockDevice:
      return "a block device, not a regular file";
    default:
      return "not a regular file";
  }
}

}  // namespace

RefusedImage ExamineRefusedImage(std::string_view utf8Path, std::size_t readUpTo) {
  RefusedImage refused;
  const HostFileKind kind = KindOfHostFile(utf8Path);
  // A missing file goes on to HostInputFile, which says so in the host's words.
  if (kind != HostFileKind::Regular && kind != HostFileKind::Missing) {
    refused.Reason = KindInWords(kind);
    return refused;
  }
  HostInputFile file(utf8Path);
  refused.Size = file.Size();
  refused.Reason = RecogniseContainer(file.Size(), utf8Path) ? "it changed while it was being read; try again"
                                                             : WhyNoContainer(file.Size(), utf8Path);
  if (file.Size() <= readUpTo) {
    refused.Bytes.resize(static_cast<std::size_t>(file.Size()));
    file.ReadExactly(refused.Bytes);
  }
  return refused;
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
