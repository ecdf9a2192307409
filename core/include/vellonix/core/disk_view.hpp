// A read-only look at a whole disk, addressed as DiskImageBuffer is (side
// after side), over that buffer or over 819,200 bytes whose tracks lie as
// an MGT file has them (the two sides' tracks interleaved). Listing an
// image therefore needs no copy of it in the buffer's order: the scan and
// the rows read the disk through a view, whatever holds its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

#include "vellonix/core/geometry.hpp"

namespace vellonix::core {

class DiskView {
 public:
  // The buffer itself. Implicit: every reader of a disk is handed the
  // buffer as readily as a view.
  DiskView(const DiskImageBuffer& disk)  // NOLINT(google-explicit-constructor)
      : DiskView(disk.data(), kBytesPerTrack, kBytesPerSide) {}

  // Bytes in the buffer's order (a SAD file's after its header), or in an
  // MGT file's: track t of side s at (t x 2 + s) x 5,120.
  static DiskView SideMajor(std::span<const std::uint8_t, kDiskBytes> bytes) {
    return {bytes.data(), kBytesPerTrack, kBytesPerSide};
  }
  static DiskView Interleaved(std::span<const std::uint8_t, kDiskBytes> bytes) {
    return {bytes.data(), std::size_t{kSides} * kBytesPerTrack, kBytesPerTrack};
  }

  // The 5,120 bytes of one side's track, side 0-1, track 0-79.
  std::span<const std::uint8_t, kBytesPerTrack> Track(int side, int track) const {
    if (side < 0 || side >= kSides || track < 0 || track >= kTracksPerSide) {
      throw std::out_of_range("track outside the disk");
    }
    return std::span<const std::uint8_t, kBytesPerTrack>(At(side, track), kBytesPerTrack);
  }

  // The 512 bytes of a sector the disk has (IsDiskSector).
  std::span<const std::uint8_t, kBytesPerSector> Sector(SectorAddress address) const {
    if (!IsDiskSector(address.Track, address.Sector)) throw std::out_of_range("sector outside the disk");
    const std::size_t within = static_cast<std::size_t>(address.Sector - 1) * kBytesPerSector;
    return std::span<const std::uint8_t, kBytesPerSector>(
        At(address.Track >> 7, address.Track & kTrackMask) + within, kBytesPerSector);
  }

  // The 256 bytes of directory slot n, which lie at n x 256 in the buffer.
  std::span<const std::uint8_t, kDirEntrySize> Slot(int slot) const {
    if (slot < 0 || slot >= kMaxDirSlots) throw std::out_of_range("directory slot outside the disk");
    constexpr int kSlotsPerTrack = kBytesPerTrack / static_cast<int>(kDirEntrySize);
    const int bufferTrack = slot / kSlotsPerTrack;
    const std::size_t within = static_cast<std::size_t>(slot % kSlotsPerTrack) * kDirEntrySize;
    return std::span<const std::uint8_t, kDirEntrySize>(
        At(bufferTrack / kTracksPerSide, bufferTrack % kTracksPerSide) + within, kDirEntrySize);
  }

 private:
  DiskView(const std::uint8_t* base, std::size_t trackStride, std::size_t sideStride)
      : base_(base), trackStride_(trackStride), sideStride_(sideStride) {}

  const std::uint8_t* At(int side, int track) const {
    return base_ + static_cast<std::size_t>(track) * trackStride_ + static_cast<std::size_t>(side) * sideStride_;
  }

  const std::uint8_t* base_;
  std::size_t trackStride_;
  std::size_t sideStride_;
};

}  // namespace vellonix::core
