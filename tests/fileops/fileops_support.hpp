// What the file-operation suites share: a scanned disk and a way to see
// exactly which bytes an operation changed.
#pragma once

#include <memory>
#include <vector>

#include "image_builder.hpp"
#include "vellonix/core/listing.hpp"
#include "vellonix/fileops/add_file.hpp"

namespace vellonix::fileops::testing {

inline const LocalDateTime kMoment{2026, 3, 14, 9, 5};

// The directory state as the main window holds it after loading `disk`.
inline core::DirectoryState Scanned(const core::DiskImageBuffer& disk) { return core::ListDirectory(disk).State; }

inline std::unique_ptr<core::DiskImageBuffer> Copy(const core::DiskImageBuffer& disk) {
  return std::make_unique<core::DiskImageBuffer>(disk);
}

// The offsets at which two disks differ.
inline std::vector<std::size_t> ChangedOffsets(const core::DiskImageBuffer& before,
                                               const core::DiskImageBuffer& after) {
  std::vector<std::size_t> changed;
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i] != after[i]) changed.push_back(i);
  }
  return changed;
}

inline bool SameListing(const core::DirectoryState& a, const core::DirectoryState& b) {
  return a.ListedSlots == b.ListedSlots && a.UsedSectors == b.UsedSectors && a.CorruptedCount == b.CorruptedCount &&
         a.DirSlotCount == b.DirSlotCount && a.DosKind == b.DosKind;
}

}  // namespace vellonix::fileops::testing
