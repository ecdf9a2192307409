#include "disk_walk.hpp"

#include <algorithm>
#include <cstring>

#include "vellonix/core/list_row.hpp"

namespace vellonix::fuzz {

using namespace vellonix::core;

namespace {

constexpr int kDirectoryTrackBlocks = kStandardDirSlots / 2;  // side 0, tracks 0-3

bool ValidLink(std::uint8_t track, std::uint8_t sector) {
  return (track & kTrackMask) < kTracksPerSide && sector >= 1 && sector <= kSectorsPerTrack;
}

}  // namespace

std::span<const std::uint16_t> ChainWalk::First(int limit) const {
  return std::span(Blocks).first(static_cast<std::size_t>(std::clamp(limit, 0, Count)));
}

void WalkChain(const DiskImageBuffer& disk, ConstDirEntry entry, int limit, ChainWalk& walk) {
  BlockSet seen;
  walk.Count = 0;
  walk.Looped = false;
  std::uint8_t track = entry.FirstTrack();
  std::uint8_t sector = entry.FirstSector();
  while (walk.Count < limit && track != 0 && sector != 0 && ValidLink(track, sector)) {
    const auto offset = static_cast<std::size_t>(SectorOffset(track, sector));
    const auto block = static_cast<std::size_t>(offset / kBytesPerSector);
    if (seen[block]) {
      walk.Looped = true;
      break;
    }
    seen[block] = true;
    walk.Blocks[static_cast<std::size_t>(walk.Count++)] = static_cast<std::uint16_t>(block);
    track = disk[offset + kSectorLinkOffset];
    sector = disk[offset + kSectorLinkOffset + 1];
  }
}

bool ChainDataIs(const DiskImageBuffer& disk, const ChainWalk& walk, std::span<const std::uint8_t> data) {
  for (std::size_t done = 0; done < data.size();) {
    const std::size_t at = done + kFileHeaderSize;
    const auto index = static_cast<int>(at / kSectorPayload);
    if (index >= walk.Count) return false;
    const std::size_t from =
        walk.Blocks[static_cast<std::size_t>(index)] * std::size_t{kBytesPerSector} + at % kSectorPayload;
    const std::size_t count = std::min(kSectorPayload - at % kSectorPayload, data.size() - done);
    if (std::memcmp(data.data() + done, disk.data() + from, count) != 0) return false;
    done += count;
  }
  return true;
}

// Plain loads over two whole disks the target owns: the sanitizers' checks
// on 1,600 blocks per edit would cost more than the rest of the run.
__attribute__((no_sanitize("address", "undefined"))) bool SameBlock(const DiskImageBuffer& a, const DiskImageBuffer& b,
                                                                    int block) {
  const std::uint8_t* x = a.data() + static_cast<std::size_t>(block) * kBytesPerSector;
  const std::uint8_t* y = b.data() + static_cast<std::size_t>(block) * kBytesPerSector;
  std::uint64_t difference = 0;
  for (std::size_t at = 0; at < kBytesPerSector; at += sizeof(std::uint64_t)) {
    std::uint64_t u = 0;
    std::uint64_t v = 0;
    std::memcpy(&u, x + at, sizeof u);
    std::memcpy(&v, y + at, sizeof v);
    difference |= u ^ v;
  }
  return difference == 0;
}

int BlockMapPosition(int block) { return block < kDirectoryTrackBlocks ? -1 : block - kDirectoryTrackBlocks; }

int MapPositionBlock(int position) { return position + kDirectoryTrackBlocks; }

bool MapClaims(ConstDirEntry entry, int block) {
  const int position = BlockMapPosition(block);
  return position >= 0 && MapBit(entry.SectorAddressMap(), position);
}

BlockSet MapBlocks(ConstDirEntry entry) {
  BlockSet blocks;
  for (int position = 0; position < kMapPositions; ++position) {
    if (MapBit(entry.SectorAddressMap(), position)) blocks[static_cast<std::size_t>(MapPositionBlock(position))] = true;
  }
  return blocks;
}

int DirectoryBlocks(int slots) { return (slots + 1) / 2; }

int ClampedSlots(const DirectoryState& state) { return std::clamp(state.DirSlotCount, 0, kMaxDirSlots); }

int SectorsFor(std::uint32_t length) {
  return static_cast<int>((std::uint64_t{length} + kFileHeaderSize + kSectorPayload - 1) / kSectorPayload);
}

}  // namespace vellonix::fuzz
