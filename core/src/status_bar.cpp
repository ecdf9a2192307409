#include "vellonix/core/status_bar.hpp"

#include <cstdlib>

#include "vellonix/core/text.hpp"

namespace vellonix::core {

int FreeSectors(const DirectoryState& state) {
  return kSectorsPerDisk - state.UsedSectors - state.DirSlotCount / 2;
}

std::string FreeSpaceText(int freeSectors) {
  // Sign and magnitude apart, so that -1 sector reads -0.5 and not 0.5.
  const int magnitude = std::abs(freeSectors);
  return std::string(freeSectors < 0 ? "-" : "") + std::to_string(magnitude / 2) + (magnitude % 2 != 0 ? ".5" : ".0") +
         " K free";
}

StatusTexts ComposeStatusBar(DiskView disk, DirectoryState& state) {
  const ConstDirEntry slot0 = DirSlot(disk, 0);
  StatusTexts panels;
  panels[0] = std::string(DosNames[static_cast<std::size_t>(state.DosKind)]) + " format";

  state.DiskNameText.clear();
  const bool noName = state.DosKind == kSamDos || (state.DosKind == kMasterDos && slot0.DiskName()[0] == '*');
  if (noName) {
    panels[1] = "Disk has no name";
  } else {
    const auto name = slot0.DiskName();
    state.DiskNameText.assign(name.begin(), name.end());
    if (state.DosKind == kBDos) {
      const auto tail = slot0.DiskNameTail();
      state.DiskNameText.append(tail.begin(), tail.end());
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(state.DiskNameText.data());
    panels[1] = "Disk name: " + UpToFirstZero({bytes, state.DiskNameText.size()});
  }

  panels[2] = std::to_string(state.ListedSlots.size()) + " Files";
  panels[3] = std::to_string(state.CorruptedCount) + " Corrupted files";
  panels[4] = FreeSpaceText(FreeSectors(state));
  return panels;
}

}  // namespace vellonix::core
