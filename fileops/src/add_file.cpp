#include "vellonix/fileops/add_file.hpp"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "allocation.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/list_row.hpp"

namespace vellonix::fileops {

using namespace vellonix::core;
namespace F = DirEntryField;

namespace {

constexpr std::uint32_t kPageSize = 16384;

AddResult Refused(const Refusal& refusal, std::string reason) {
  AddResult result;
  result.Refused = refusal;
  result.Reason = std::move(reason);
  return result;
}

AddResult DirectoryFull(const DirectoryState& state) {
  return Refused(kDirectoryFull, "all " + std::to_string(detail::SlotWalkLimit(state)) + " directory slots are in use");
}

AddResult NotEnoughSpace(const DiskImageBuffer& disk, const DirectoryState& state, std::uintmax_t sectorCount) {
  const int free = detail::FreePositions(detail::UsedSectorMap(disk, state));
  return Refused(kNotEnoughSpace, "it needs " + std::to_string(sectorCount) + (sectorCount == 1 ? " sector; " : " sectors; ") +
                                      std::to_string(free) + (free == 1 ? " is free" : " are free"));
}

std::uint8_t Low(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

// Every field of the entry that an addition writes; the rest of the slot
// (in slot 0 the disk name, DOS signature and extra track count) stays.
void WriteEntry(DirEntry entry, std::span<const std::uint8_t, F::FileNameLength> name, std::size_t byteCount,
                const detail::Allocation& allocation, const DateStampBytes& stamp) {
  entry.SetStatusType(kTypeCode);
  std::copy(name.begin(), name.end(), entry.FileName().begin());
  entry.SetSectorCount(static_cast<int>(allocation.Sectors.size()));
  entry.SetFirstSectorAddress(allocation.Sectors.front());
  std::copy(allocation.Map.begin(), allocation.Map.end(), entry.SectorAddressMap().begin());
  entry.SetByte(F::AddedFileMarker, ' ');
  entry.SetByte(F::StartPage, 1);
  entry.SetWord(F::StartOffset, 0x8000);
  entry.SetByte(F::LengthPages, static_cast<std::uint8_t>(byteCount / kPageSize));
  entry.SetWord(F::LengthInPage, static_cast<std::uint16_t>(byteCount % kPageSize & 0x3FFF));
  entry.SetByte(F::ExecPage, 0xFF);
  entry.SetWord(F::ExecOffset, 0xFFFF);
  const auto bytes = entry.Bytes();
  std::copy_n(bytes.begin() + F::StartPage, F::HeaderCopyLength, bytes.begin() + F::HeaderCopy);
  entry.SetDateStamp(stamp);
}

std::array<std::uint8_t, kFileHeaderSize> FileHeaderOf(ConstDirEntry entry) {
  return {entry.TypeCode(),
          entry.Byte8(F::LengthInPage),
          entry.Byte8(F::LengthInPage + 1),
          entry.Byte8(F::StartOffset),
          entry.Byte8(F::StartOffset + 1),
          0xFF,
          0xFF,
          entry.Byte8(F::LengthPages),
          entry.Byte8(F::StartPage)};
}

// Sector k carries body bytes k x 510 onwards, the body being the header
// and then the data; what the body does not fill stays zero.
void WriteChain(DiskImageBuffer& disk, const std::vector<SectorAddress>& sectors,
                std::span<const std::uint8_t, kFileHeaderSize> header, std::span<const std::uint8_t> data) {
  for (std::size_t k = 0; k < sectors.size(); ++k) {
    const auto offset = static_cast<std::size_t>(SectorOffset(sectors[k].Track, sectors[k].Sector));
    const std::span<std::uint8_t, kBytesPerSector> sector(disk.data() + offset, kBytesPerSector);
    std::fill(sector.begin(), sector.end(), std::uint8_t{0});
    for (std::size_t i = 0; i < kSectorPayload; ++i) {
      const std::size_t at = k * kSectorPayload + i;
      if (at < header.size()) {
        sector[i] = header[at];
      } else if (at - header.size() < data.size()) {
        sector[i] = data[at - header.size()];
      } else {
        break;
      }
    }
    const SectorAddress next = k + 1 < sectors.size() ? sectors[k + 1] : SectorAddress{};
    sector[kSectorLinkOffset] = next.Track;
    sector[kSectorLinkOffset + 1] = next.Sector;
  }
}

}  // namespace

LocalDateTime LocalDateTimeOf(const std::tm& time) {
  return {time.tm_year + 1900, time.tm_mon + 1, time.tm_mday, time.tm_hour, time.tm_min};
}

DateStampBytes DateStampOf(const LocalDateTime& time) {
  return {Low(time.Day), Low(time.Month), Low(time.Year - 1900), Low(time.Hour), Low(time.Minute)};
}

std::uintmax_t SectorsForFile(std::uintmax_t byteCount) {
  // (n + 9 + 509) div 510, without overflow for any n.
  const std::uintmax_t rest = byteCount % kSectorPayload + kFileHeaderSize;
  return byteCount / kSectorPayload + (rest + kSectorPayload - 1) / kSectorPayload;
}

std::optional<Refusal> CheckRoom(const DiskImageBuffer& disk, const DirectoryState& state, std::uintmax_t byteCount) {
  if (!detail::ChooseSlot(disk, state)) return kDirectoryFull;
  const auto free = static_cast<std::uintmax_t>(detail::FreePositions(detail::UsedSectorMap(disk, state)));
  if (SectorsForFile(byteCount) > free) return kNotEnoughSpace;
  return std::nullopt;
}

AddResult AddSamFile(DiskImageBuffer& disk, DirectoryState& state, std::span<const std::uint8_t> data,
                     std::string_view namePath, const LocalDateTime& now) {
  const auto slot = detail::ChooseSlot(disk, state);
  if (!slot) return DirectoryFull(state);
  const std::uintmax_t sectorCount = SectorsForFile(data.size());
  if (sectorCount > static_cast<std::uintmax_t>(kMapPositions)) return NotEnoughSpace(disk, state, sectorCount);
  const auto allocation = detail::ChooseSectors(detail::UsedSectorMap(disk, state), static_cast<int>(sectorCount));
  if (!allocation) return NotEnoughSpace(disk, state, sectorCount);

  const DirEntry entry = DirSlot(disk, *slot);
  const bool endedDirectory = entry.EndsDirectory();
  WriteEntry(entry, SamNameForHostFile(namePath), data.size(), *allocation, DateStampOf(now));
  WriteChain(disk, allocation->Sectors, FileHeaderOf(entry), data);

  auto& listed = state.ListedSlots;
  const auto at = std::find_if(listed.begin(), listed.end(), [&](int other) { return other >= *slot; });
  const int row = static_cast<int>(at - listed.begin());
  listed.insert(at, *slot);
  state.UsedSectors += static_cast<int>(sectorCount);
  AddResult result{std::nullopt, {}, *slot, row, {}};
  // A slot that ended the directory no longer does: the entries after it,
  // up to the next such slot, are listed from now on, as a scan would.
  if (endedDirectory) {
    for (int later = *slot + 1; later < detail::SlotWalkLimit(state); ++later) {
      const ConstDirEntry next = DirSlot(disk, later);
      if (!next.IsFree()) {
        listed.push_back(later);
        state.UsedSectors += next.SectorCount();
        result.Revealed.push_back(later);
      }
      if (next.EndsDirectory()) break;
    }
  }
  return result;
}

AddResult AddHostFile(DiskImageBuffer& disk, DirectoryState& state, std::string_view utf8Path,
                      std::string_view namePath, const LocalDateTime& now) {
  HostInputFile file(utf8Path);
  // Reading gigabytes only to refuse them helps nobody: a file no disk can
  // hold meets its refusal unread.
  if (file.Size() > kLargestSamFile) {
    return detail::ChooseSlot(disk, state) ? NotEnoughSpace(disk, state, SectorsForFile(file.Size()))
                                           : DirectoryFull(state);
  }
  std::vector<std::uint8_t> data(static_cast<std::size_t>(file.Size()));
  file.ReadExactly(data);
  return AddSamFile(disk, state, data, namePath, now);
}

}  // namespace vellonix::fileops
