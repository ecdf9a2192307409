// The directory scan: which DOS wrote the disk, how many slots its
// directory has, which slots hold files, and whether their chains hold.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "vellonix/core/dir_entry.hpp"
#include "vellonix/core/geometry.hpp"

namespace vellonix::core {

inline constexpr int kSamDos = 0;
inline constexpr int kMasterDos = 1;
inline constexpr int kBDos = 2;
inline constexpr std::array<std::string_view, 3> DosNames{"SAM-DOS", "MasterDOS", "B-DOS"};

inline constexpr int kStandardDirSlots = 80;  // side 0, tracks 0-3
inline constexpr int kSlotsPerDirTrack = 20;
// A MasterDOS count of extra directory tracks above this would carry the
// directory past the end of the disk; such counts are read as this one.
inline constexpr int kMaxExtraDirTracks = (kMaxDirSlots - kStandardDirSlots) / kSlotsPerDirTrack;  // 156

// What the program knows of the loaded image's directory. Rebuilt by every
// scan; the file operations keep it in step afterwards.
struct DirectoryState {
  int DosKind = kSamDos;
  int DirSlotCount = kStandardDirSlots;
  int UsedSectors = 0;
  int CorruptedCount = 0;
  std::vector<int> ListedSlots;  // the slot of each list row, ascending
  std::string DiskNameText;      // raw bytes as stored, or empty for no name
  friend bool operator==(const DirectoryState&, const DirectoryState&) = default;
};

// B-DOS when slot 0 carries "BDOS" at 232-235, else MasterDOS when byte 210
// is non-zero, else SAM-DOS.
int DetectDosKind(DiskView disk);

// 80, or for MasterDOS 80 + 20 x ExtraDirTracks, never past the disk's end.
int ComputeDirSlotCount(DiskView disk, int dosKind);

// The chain test: true when SectorCount sectors can be followed from the
// first sector through the links without meeting a zero address or an
// address no disk has (IsDiskSector).
bool TestFile(DiskView disk, int slot);

// Empties the listing part of the state (rows, used and corrupted counts);
// the DOS, slot count and disk name keep what they held.
void ResetListing(DirectoryState& state);

// Detects the DOS, sets DirSlotCount and walks the directory: every slot
// whose StatusType is non-zero is appended to ListedSlots, its SectorCount
// added to UsedSectors and `onListed` called with it. The walk ends after
// the first slot that was never used. CorruptedCount is left to the caller
// (it counts as rows are decoded).
void ScanDirectory(DiskView disk, DirectoryState& state, const std::function<void(int slot)>& onListed);

}  // namespace vellonix::core
