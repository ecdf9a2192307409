#include "vellonix/core/image_file.hpp"

#include <vector>

#include "vellonix/core/host_file.hpp"

namespace vellonix::core {

std::optional<ContainerKind> LoadImageFile(std::string_view utf8Path, DiskImageBuffer& disk) {
  HostInputFile file(utf8Path);
  const auto kind = RecogniseContainer(file.Size(), utf8Path);
  if (!kind) return std::nullopt;
  // Read whole before decoding, so that a failed read leaves `disk` as it was.
  std::vector<std::uint8_t> bytes(*kind == ContainerKind::Sad ? kSadFileSize : kMgtFileSize);
  file.ReadExactly(bytes);
  DecodeContainer(*kind, bytes, disk);
  return kind;
}

ContainerKind SaveImageFile(std::string_view utf8Path, const DiskImageBuffer& disk) {
  const ContainerKind kind = ContainerForSave(utf8Path);
  WriteFileSafely(utf8Path, EncodeContainer(kind, disk));
  return kind;
}

}  // namespace vellonix::core
