#include "vellonix/fileops/extract_file.hpp"

#include <algorithm>

#include "vellonix/core/host_file.hpp"
#include "vellonix/core/list_row.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/fileops/edit_entry.hpp"

namespace vellonix::fileops {

using namespace vellonix::core;

std::uint32_t ExtractLength(ConstDirEntry entry) {
  const int type = entry.TypeCode();
  if (type == 5) return 0xC000;    // 48K snapshot
  if (type == 9) return 0x20000;   // 128K snapshot
  if (type <= 11) return entry.ZxLength();
  if (type <= 20) return SamFileLength(entry);
  return 0;
}

std::vector<SectorAddress> ExtractChain(const DiskImageBuffer& disk, int slot) {
  const ConstDirEntry entry = DirSlot(disk, slot);
  // Only the sectors that can hold the wanted bytes are gathered: the
  // result is the same, and a SectorCount of 65,535 costs nothing.
  const std::size_t needed = (ExtractLength(entry) + kFileHeaderSize + kSectorPayload - 1) / kSectorPayload;
  const std::size_t limit = std::min<std::size_t>(needed, kSectorsPerDisk);

  std::vector<SectorAddress> chain;
  SectorAddress at{entry.FirstTrack(), entry.FirstSector()};
  // Past SectorCount too, as long as the links hold: other tools wrote some
  // counts one short.
  while (chain.size() < limit && at.Track != 0 && IsDiskSector(at.Track, at.Sector)) {
    chain.push_back(at);
    const auto offset = static_cast<std::size_t>(SectorOffset(at.Track, at.Sector));
    at = {disk[offset + kSectorLinkOffset], disk[offset + kSectorLinkOffset + 1]};
  }
  return chain;
}

std::vector<std::uint8_t> ExtractFileBytes(const DiskImageBuffer& disk, int slot) {
  const std::size_t wanted = ExtractLength(DirSlot(disk, slot));
  std::vector<std::uint8_t> body;
  for (const SectorAddress sector : ExtractChain(disk, slot)) {
    const auto offset = static_cast<std::ptrdiff_t>(SectorOffset(sector.Track, sector.Sector));
    body.insert(body.end(), disk.begin() + offset, disk.begin() + offset + kSectorPayload);
  }
  if (body.size() <= kFileHeaderSize) return {};
  const std::size_t available = body.size() - kFileHeaderSize;
  const auto from = body.begin() + kFileHeaderSize;
  return {from, from + static_cast<std::ptrdiff_t>(std::min(wanted, available))};
}

void ExtractFileTo(const DiskImageBuffer& disk, int slot, std::string_view utf8Path) {
  WriteOutputFile(utf8Path, ExtractFileBytes(disk, slot));
}

std::string HostFileNameFor(const core::DiskImageBuffer& disk, int slot) {
  std::string name = TrimName(core::FileNameText(core::DirSlot(disk, slot)));
  for (char& ch : name) {
    const auto code = static_cast<unsigned char>(ch);
    if (core::IsControlCode(code) || core::IsPathSeparator(ch)) ch = '_';
  }
  return core::Latin1ToUtf8(name);
}

}  // namespace vellonix::fileops
