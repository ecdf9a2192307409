// The one geometry of a SAM disk and the rule that turns a track byte and a
// sector number into a place in the in-memory disk.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vellonix::core {

inline constexpr int kSides = 2;
inline constexpr int kTracksPerSide = 80;
inline constexpr int kSectorsPerTrack = 10;
inline constexpr int kBytesPerSector = 512;
inline constexpr int kBytesPerTrack = kSectorsPerTrack * kBytesPerSector;  // 5,120
inline constexpr int kBytesPerSide = kTracksPerSide * kBytesPerTrack;      // 409,600
inline constexpr int kSectorsPerDisk = kSides * kTracksPerSide * kSectorsPerTrack;
inline constexpr std::size_t kDiskBytes = std::size_t{kSides} * kBytesPerSide;  // 819,200

// Bit 7 of a track byte is the side; bits 0-6 the track number.
inline constexpr std::uint8_t kSideBit = 0x80;
inline constexpr std::uint8_t kTrackMask = 0x7F;

// Every file sector carries 510 bytes of payload and a two-byte link.
inline constexpr int kSectorPayload = 510;
inline constexpr int kSectorLinkOffset = 510;

// The whole disk, side-major: all of side 0 (track 0 sector 1 ... track 79
// sector 10), then all of side 1. Owned by the caller; 800 K, so allocate it
// on the heap.
using DiskImageBuffer = std::array<std::uint8_t, kDiskBytes>;

struct SectorAddress {
  std::uint8_t Track = 0;   // track byte
  std::uint8_t Sector = 0;  // 1-10
  friend constexpr bool operator==(SectorAddress, SectorAddress) = default;
};

// Byte offset of (track byte, sector) in DiskImageBuffer. Only a sector
// IsDiskSector accepts lies wholly inside the buffer.
constexpr std::int64_t SectorOffset(std::uint8_t track, std::uint8_t sector) {
  return (track & kSideBit) * std::int64_t{3200} + (track & kTrackMask) * std::int64_t{5120} +
         (std::int64_t{sector} - 1) * 512;
}

// One past the last byte of the sector: what chain walkers compare with the
// disk size.
constexpr std::int64_t SectorEnd(std::uint8_t track, std::uint8_t sector) {
  return SectorOffset(track, sector) + kBytesPerSector;
}

// Whether an address names a sector a SAM disk has: track 0-79 of either
// side (track bytes 0-79 and 128-207), sector 1-10. A chain ends at a link
// to any other address, even one whose offset falls inside the buffer
// (sector 144 of a track would lie 143 sectors on, in some other file or
// in free space).
constexpr bool IsDiskSector(std::uint8_t track, std::uint8_t sector) {
  return (track & kTrackMask) < kTracksPerSide && sector >= 1 && sector <= kSectorsPerTrack;
}

// Directory slot n lies at n x 256, without the track rule.
inline constexpr std::size_t kDirEntrySize = 256;
inline constexpr int kMaxDirSlots = static_cast<int>(kDiskBytes / kDirEntrySize);  // 3,200

constexpr std::size_t SlotOffset(int slot) { return static_cast<std::size_t>(slot) * kDirEntrySize; }

// Sector allocation maps cover every sector but side-0 tracks 0-3, in the
// order track 4 ... 79, then track byte 128 ... 207.
inline constexpr int kMapPositions = 1560;
inline constexpr int kMapBytes = 195;
inline constexpr int kSide0MapPositions = 760;

constexpr SectorAddress MapPositionSector(int position) {
  const int track = position < kSide0MapPositions ? 4 + position / kSectorsPerTrack
                                                  : 128 + (position - kSide0MapPositions) / kSectorsPerTrack;
  return {static_cast<std::uint8_t>(track), static_cast<std::uint8_t>(position % kSectorsPerTrack + 1)};
}

// The map position of a sector, or none for the standard directory tracks
// and for addresses that are not on the disk.
constexpr std::optional<int> SectorMapPosition(SectorAddress address) {
  if (!IsDiskSector(address.Track, address.Sector)) return std::nullopt;
  const int track = address.Track & kTrackMask;
  const int sectorIndex = address.Sector - 1;
  if ((address.Track & kSideBit) != 0) return kSide0MapPositions + track * kSectorsPerTrack + sectorIndex;
  if (track < 4) return std::nullopt;
  return (track - 4) * kSectorsPerTrack + sectorIndex;
}

// Physical head h, cylinder t of a floppy holds the 5,120 bytes from here.
constexpr std::size_t TrackSideOffset(int head, int cylinder) {
  return static_cast<std::size_t>(head) * kBytesPerSide + static_cast<std::size_t>(cylinder) * kBytesPerTrack;
}

}  // namespace vellonix::core
