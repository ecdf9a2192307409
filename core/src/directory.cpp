#include "vellonix/core/directory.hpp"

#include <algorithm>

namespace vellonix::core {

int DetectDosKind(DiskView disk) {
  const ConstDirEntry slot0 = DirSlot(disk, 0);
  constexpr std::string_view kSignature = "BDOS";
  const auto signature = slot0.BdosSignature();
  if (std::equal(signature.begin(), signature.end(), kSignature.begin())) return kBDos;
  if (slot0.DiskName()[0] != 0) return kMasterDos;
  return kSamDos;
}

int ComputeDirSlotCount(DiskView disk, int dosKind) {
  if (dosKind != kMasterDos) return kStandardDirSlots;
  const int extra = std::min<int>(DirSlot(disk, 0).ExtraDirTracks(), kMaxExtraDirTracks);
  return kStandardDirSlots + kSlotsPerDirTrack * extra;
}

bool TestFile(DiskView disk, int slot) {
  const ConstDirEntry entry = DirSlot(disk, slot);
  int remaining = entry.SectorCount();
  std::uint8_t track = entry.FirstTrack();
  std::uint8_t sector = entry.FirstSector();
  // A chain walks only the disk's 1,600 sectors: one still going after more
  // steps than that has met a sector twice and loops for ever, which the
  // full walk would have judged intact. Stopping there keeps a scan linear
  // in the disk.
  for (int steps = 0; remaining != 0 && track != 0 && sector != 0; ++steps) {
    if (steps > kSectorsPerDisk) return true;
    if (!IsDiskSector(track, sector)) break;  // off the disk, or a sector no track has
    const auto bytes = disk.Sector({track, sector});
    track = bytes[kSectorLinkOffset];
    sector = bytes[kSectorLinkOffset + 1];
    --remaining;
  }
  return remaining == 0;
}

void ResetListing(DirectoryState& state) {
  state.ListedSlots.clear();
  state.UsedSectors = 0;
  state.CorruptedCount = 0;
}

void ScanDirectory(DiskView disk, DirectoryState& state, const std::function<void(int slot)>& onListed) {
  ResetListing(state);
  state.DosKind = DetectDosKind(disk);
  state.DirSlotCount = ComputeDirSlotCount(disk, state.DosKind);
  for (int slot = 0; slot < state.DirSlotCount; ++slot) {
    const ConstDirEntry entry = DirSlot(disk, slot);
    if (!entry.IsFree()) {
      state.ListedSlots.push_back(slot);
      state.UsedSectors += entry.SectorCount();
      if (onListed) onListed(slot);
    }
    if (entry.EndsDirectory()) break;
  }
}

}  // namespace vellonix::core
