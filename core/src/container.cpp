#include "vellonix/core/container.hpp"

#include <algorithm>
#include <stdexcept>

#include "vellonix/core/text.hpp"

namespace vellonix::core {

std::string_view ContainerName(ContainerKind kind) { return kind == ContainerKind::Mgt ? "MGT" : "SAD"; }

std::array<std::uint8_t, kSadHeaderSize> SadHeader() {
  constexpr std::string_view kSignature = "Yolt's disk backup";
  static_assert(kSignature.size() == 18);
  std::array<std::uint8_t, kSadHeaderSize> header{};
  std::copy(kSignature.begin(), kSignature.end(), header.begin());
  header[18] = kSides;
  header[19] = kTracksPerSide;
  header[20] = kSectorsPerTrack;
  header[21] = kBytesPerSector / 64;
  return header;
}

std::optional<ContainerKind> RecogniseContainer(std::uintmax_t fileSize, std::string_view path) {
  if (fileSize == kSadFileSize && HasExtension(path, ".SAD")) return ContainerKind::Sad;
  if (fileSize == kMgtFileSize && HasExtension(path, ".MGT")) return ContainerKind::Mgt;
  return std::nullopt;
}

std::string WhyNoContainer(std::uintmax_t fileSize, std::string_view path) {
  const std::string_view extension = FileExtension(path);
  const std::string named = extension.empty() ? "named without an extension" : "named " + std::string(extension);
  const auto sizeOnly = [&](std::string_view container, std::string_view wanted) {
    return GroupedThousands(fileSize) + " bytes, " + std::string(container) + " image's size, but " + named +
           ", not " + std::string(wanted);
  };
  if (fileSize == kMgtFileSize) return sizeOnly("an MGT", ".mgt");
  if (fileSize == kSadFileSize) return sizeOnly("a SAD", ".sad");
  return GroupedThousands(fileSize) + " bytes; an image has " + GroupedThousands(kMgtFileSize) + " (.mgt) or " +
         GroupedThousands(kSadFileSize) + " (.sad)";
}

ContainerKind ContainerForSave(std::string_view path) {
  return HasExtension(path, ".MGT") ? ContainerKind::Mgt : ContainerKind::Sad;
}

DiskView ContainerView(ContainerKind kind, std::span<const std::uint8_t> file) {
  if (kind == ContainerKind::Sad) {
    if (file.size() != kSadFileSize) throw std::invalid_argument("SAD container of the wrong size");
    return DiskView::SideMajor(file.subspan<kSadHeaderSize, kDiskBytes>());
  }
  if (file.size() != kMgtFileSize) throw std::invalid_argument("MGT container of the wrong size");
  return DiskView::Interleaved(file.first<kDiskBytes>());
}

void DecodeContainer(ContainerKind kind, std::span<const std::uint8_t> file, DiskImageBuffer& disk) {
  const DiskView view = ContainerView(kind, file);
  for (int side = 0; side < kSides; ++side) {
    for (int track = 0; track < kTracksPerSide; ++track) {
      const auto from = view.Track(side, track);
      std::copy(from.begin(), from.end(), disk.begin() + static_cast<std::ptrdiff_t>(TrackSideOffset(side, track)));
    }
  }
}

std::vector<std::uint8_t> EncodeContainer(ContainerKind kind, const DiskImageBuffer& disk) {
  std::vector<std::uint8_t> file;
  if (kind == ContainerKind::Sad) {
    file.reserve(kSadFileSize);
    const auto header = SadHeader();
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), disk.begin(), disk.end());
    return file;
  }
  file.reserve(kMgtFileSize);
  for (int block = 0; block < kMgtBlocks; ++block) {
    const auto from = disk.begin() + static_cast<std::ptrdiff_t>(MgtBlockBufferOffset(block));
    file.insert(file.end(), from, from + kBytesPerTrack);
  }
  return file;
}

}  // namespace vellonix::core
