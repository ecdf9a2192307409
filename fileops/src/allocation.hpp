// How an addition finds room: the slot, the sectors in use and the sectors
// it takes. Internal to the library.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "vellonix/core/directory.hpp"
#include "vellonix/core/geometry.hpp"

namespace vellonix::fileops::detail {

using SectorMap = std::array<std::uint8_t, core::kMapBytes>;

// DirSlotCount, kept inside the disk whatever the state says.
int SlotWalkLimit(const core::DirectoryState& state);

// The lowest slot whose StatusType is 0; erased and never-used slots alike.
std::optional<int> ChooseSlot(const core::DiskImageBuffer& disk, const core::DirectoryState& state);

// The union of the maps of every entry that is not erased, and of the
// sectors their data is read from, with the directory's own sectors beyond
// the standard four tracks (MasterDOS extra directory tracks) marked as
// well, so none is ever chosen.
SectorMap UsedSectorMap(const core::DiskImageBuffer& disk, const core::DirectoryState& state);

// The number of map positions still clear.
int FreePositions(const SectorMap& used);

struct Allocation {
  std::vector<core::SectorAddress> Sectors;  // in the order the chain takes them
  SectorMap Map{};                           // their bits, for the new entry
};

// The first `count` clear positions in map order (first fit). Nothing when
// fewer are clear.
std::optional<Allocation> ChooseSectors(const SectorMap& used, int count);

}  // namespace vellonix::fileops::detail
