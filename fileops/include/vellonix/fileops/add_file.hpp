// Adding a host file to the disk as a SAM Code file: the lowest free slot,
// the lowest free sectors in map order, the header, the chain and the entry,
// with the directory state kept in step. A refusal changes nothing.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vellonix/core/dir_entry.hpp"
#include "vellonix/core/directory.hpp"
#include "vellonix/core/geometry.hpp"
#include "vellonix/fileops/refusal.hpp"

namespace vellonix::fileops {

// The moment of adding as the host's local clock shows it.
struct LocalDateTime {
  int Year = 1980;  // the full year, 2026
  int Month = 1;    // 1-12
  int Day = 1;      // 1-31
  int Hour = 0;     // 0-23
  int Minute = 0;   // 0-59
};

// From the fields of a broken-down local time (localtime_r and the like).
LocalDateTime LocalDateTimeOf(const std::tm& time);

// Day, month, year - 1900 (its low 8 bits), hour, minute.
core::DateStampBytes DateStampOf(const LocalDateTime& time);

// 1,560 sectors of 510 bytes, less the header: the most an empty disk holds.
inline constexpr std::uintmax_t kLargestSamFile =
    std::uintmax_t{core::kMapPositions} * core::kSectorPayload - 9;  // 795,591

inline constexpr Refusal kDirectoryFull{"Directory Full", 141};
inline constexpr Refusal kNotEnoughSpace{"Not enough free space on disk", 226};

struct AddResult {
  std::optional<Refusal> Refused;  // set when nothing was added
  // Why, in the words the CLI and the program both show after the path:
  // "all 80 directory slots are in use", "it needs 12 sectors; 3 are free".
  std::string Reason;
  int Slot = -1;                   // the new entry
  int Row = -1;                    // its position in ListedSlots, where its list row goes
  // Entries that a never-used slot hid until the new file filled it; they
  // now follow it at the end of ListedSlots, and their rows go last.
  std::vector<int> Revealed;
  bool Added() const { return !Refused; }
};

// Sectors a file of `byteCount` bytes takes: the header and the bytes in
// 510-byte pieces, at least one.
std::uintmax_t SectorsForFile(std::uintmax_t byteCount);

// The refusal an addition of `byteCount` bytes would meet, in the order the
// user meets them (directory, then space), or none when it fits.
std::optional<Refusal> CheckRoom(const core::DiskImageBuffer& disk, const core::DirectoryState& state,
                                 std::uintmax_t byteCount);

// Adds `data` as a Code file named after the file-name part of `namePath`
// (the host path as the shell shows it), stamped with `now`. On success
// `state.ListedSlots` has the new slot at `Row` and `UsedSectors` its
// sectors; the caller lists the row (its chain is intact, so CorruptedCount
// stays) and refreshes the status bar.
AddResult AddSamFile(core::DiskImageBuffer& disk, core::DirectoryState& state, std::span<const std::uint8_t> data,
                     std::string_view namePath, const LocalDateTime& now);

// Reads the host file at `utf8Path` whole and adds it as AddSamFile does.
// A file larger than any disk holds is refused without being read. Host
// failures throw core::HostIoError before anything changes.
AddResult AddHostFile(core::DiskImageBuffer& disk, core::DirectoryState& state, std::string_view utf8Path,
                      std::string_view namePath, const LocalDateTime& now);

// The 10 name bytes a host file gets: its file-name part, characters up to
// U+00FF as their codes (others as '?'), cut or padded with spaces.
std::array<std::uint8_t, core::DirEntryField::FileNameLength> SamNameForHostFile(std::string_view namePath);

}  // namespace vellonix::fileops
