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

std::vector<std::uint8_t> ExtractFileBytes(const DiskImageBuffer& disk, int slot) {
  const ConstDirEntry entry = DirSlot(disk, slot);
  const std::size_t wanted = ExtractLength(entry);
  // Only the sectors that can hold the wanted bytes are gathered: the
  // result is the same, and a SectorCount of 65,535 costs nothing.
  const std::size_t sectorsNeeded = (wanted + kFileHeaderSize + kSectorPayload - 1) / kSectorPayload;
  const std::size_t sectorLimit = std::min<std::size_t>(static_cast<std::size_t>(entry.SectorCount()), sectorsNeeded);

  std::vector<std::uint8_t> body;
  body.reserve(sectorLimit * kSectorPayload);
  std::uint8_t track = entry.FirstTrack();
  std::uint8_t sector = entry.FirstSector();
  for (std::size_t k = 0; k < sectorLimit && track != 0 && sector != 0; ++k) {
    if (!SectorInsideDisk(track, sector)) break;
    const auto offset = static_cast<std::size_t>(SectorOffset(track, sector));
    body.insert(body.end(), disk.begin() + static_cast<std::ptrdiff_t>(offset),
                disk.begin() + static_cast<std::ptrdiff_t>(offset + kSectorPayload));
    track = disk[offset + kSectorLinkOffset];
    sector = disk[offset + kSectorLinkOffset + 1];
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
    if (code < 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0) || core::IsPathSeparator(ch)) ch = '_';
  }
  return core::Latin1ToUtf8(name);
}

}  // namespace vellonix::fileops
