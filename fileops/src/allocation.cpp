#include "allocation.hpp"

#include <algorithm>

#include "vellonix/core/dir_entry.hpp"
#include "vellonix/fileops/extract_file.hpp"

namespace vellonix::fileops::detail {

using namespace vellonix::core;

int SlotWalkLimit(const DirectoryState& state) { return std::clamp(state.DirSlotCount, 0, kMaxDirSlots); }

std::optional<int> ChooseSlot(const DiskImageBuffer& disk, const DirectoryState& state) {
  const int limit = SlotWalkLimit(state);
  for (int slot = 0; slot < limit; ++slot) {
    if (DirSlot(disk, slot).IsFree()) return slot;
  }
  return std::nullopt;
}

SectorMap UsedSectorMap(const DiskImageBuffer& disk, const DirectoryState& state) {
  SectorMap used{};
  const int limit = SlotWalkLimit(state);
  // Every entry of the directory that is not erased keeps its sectors,
  // listed or not: on a damaged or foreign disk a never-used slot can end
  // the list early, and once a new file fills it the entries after it are
  // listed again. The sectors an entry's data is read from count as well,
  // where a damaged map leaves one out.
  for (int slot = 0; slot < limit; ++slot) {
    const ConstDirEntry entry = DirSlot(disk, slot);
    if (entry.IsFree()) continue;
    const auto map = entry.SectorAddressMap();
    std::transform(used.begin(), used.end(), map.begin(), used.begin(),
                   [](std::uint8_t a, std::uint8_t b) { return static_cast<std::uint8_t>(a | b); });
    for (const SectorAddress sector : ExtractChain(disk, slot)) {
      if (const auto position = SectorMapPosition(sector)) SetMapBit(used, *position);
    }
  }
  // Slots past the standard 80 lie in the sectors from map position 0 on,
  // two to a sector, in map order (side 1 follows side 0 in the buffer).
  const int directoryPositions = std::min((std::max(limit - kStandardDirSlots, 0) + 1) / 2, kMapPositions);
  for (int position = 0; position < directoryPositions; ++position) SetMapBit(used, position);
  return used;
}

int FreePositions(const SectorMap& used) {
  int free = 0;
  for (int position = 0; position < kMapPositions; ++position) free += MapBit(used, position) ? 0 : 1;
  return free;
}

std::optional<Allocation> ChooseSectors(const SectorMap& used, int count) {
  Allocation allocation;
  allocation.Sectors.reserve(static_cast<std::size_t>(std::clamp(count, 0, kMapPositions)));
  for (int position = 0; position < kMapPositions && static_cast<int>(allocation.Sectors.size()) < count; ++position) {
    if (MapBit(used, position)) continue;
    SetMapBit(allocation.Map, position);
    allocation.Sectors.push_back(MapPositionSector(position));
  }
  if (static_cast<int>(allocation.Sectors.size()) < count) return std::nullopt;
  return allocation;
}

}  // namespace vellonix::fileops::detail
