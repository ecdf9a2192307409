// The fuzz targets' own view of a disk, kept apart from the code under test:
// the 1,600 blocks of 512 bytes that sector addresses name, which blocks a
// file's chain reaches, and which of them its map claims.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <span>

#include "vellonix/core/dir_entry.hpp"
#include "vellonix/core/directory.hpp"
#include "vellonix/core/geometry.hpp"

namespace vellonix::fuzz {

inline constexpr int kBlocks = core::kSectorsPerDisk;
using BlockSet = std::bitset<kBlocks>;

// The distinct blocks a chain reaches from the entry's first sector, in
// order: at most `limit`, ending at a zero track or sector, at a track byte
// that is no real track or a sector outside 1-10, and at the first block
// met again. Any walk of the code under test that follows the same links,
// however often it goes round a loop, reads only blocks among the first
// `limit`.
struct ChainWalk {
  std::array<std::uint16_t, kBlocks> Blocks{};
  int Count = 0;
  bool Looped = false;  // ended at a block met before
  std::span<const std::uint16_t> First(int limit) const;
};
void WalkChain(const core::DiskImageBuffer& disk, core::ConstDirEntry entry, int limit, ChainWalk& walk);

// Whether bytes 9 onwards of the payloads (bytes 0-509) of the walk's
// blocks are `data`: what extract gives for a chain that holds its length.
bool ChainDataIs(const core::DiskImageBuffer& disk, const ChainWalk& walk, std::span<const std::uint8_t> data);

// Whether a block is the same on both disks.
bool SameBlock(const core::DiskImageBuffer& a, const core::DiskImageBuffer& b, int block);

// The map position of a block, or -1 for the four standard directory tracks.
int BlockMapPosition(int block);
int MapPositionBlock(int position);
bool MapClaims(core::ConstDirEntry entry, int block);
BlockSet MapBlocks(core::ConstDirEntry entry);

// The blocks the first `slots` directory slots fill (two to a block).
int DirectoryBlocks(int slots);
// DirSlotCount kept inside the disk, as every walk over the slots keeps it.
int ClampedSlots(const core::DirectoryState& state);

// Sectors needed for the header and `length` bytes of data.
int SectorsFor(std::uint32_t length);

}  // namespace vellonix::fuzz
