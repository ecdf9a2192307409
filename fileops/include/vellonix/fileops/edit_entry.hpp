// Deleting and renaming files and changing the disk name: the exact bytes
// each changes, and the name texts the name dialog proposes. Names are SAM
// bytes (one byte per character), not host text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "vellonix/core/directory.hpp"
#include "vellonix/core/geometry.hpp"
#include "vellonix/fileops/refusal.hpp"

namespace vellonix::fileops {

// The row of the list that shows `slot`, if it is listed.
std::optional<int> RowOfSlot(const core::DirectoryState& state, int slot);

// Every character with a code below 33 (space, control codes, zero bytes)
// removed from both ends.
std::string TrimName(std::string_view text);

struct EraseResult {
  int Slot = -1;
  bool WasCorrupted = false;  // it counted in CorruptedCount, which has dropped by one
  bool ListEmpty = false;     // no row is left: the file commands go off
};

// Erases the file of list row `row` (0 <= row < ListedSlots.size(), else
// std::out_of_range): its StatusType becomes 0, its sectors count as free,
// and its slot and row leave the state. Name, map and sectors stay. An entry
// whose name begins with a zero byte would then end the directory and hide
// every later file, so that byte becomes a space when a listed file follows.
EraseResult EraseFile(core::DiskImageBuffer& disk, core::DirectoryState& state, int row);

inline constexpr int kFileNameMaxLength = 10;

// The entry's name, trimmed: what the Rename file dialog proposes.
std::string CurrentFileName(const core::DiskImageBuffer& disk, int slot);

// Writes `name`, trimmed, cut to 10 bytes and padded with spaces, as the
// entry's name; nothing else changes. Returns the text for the row's
// Filename column: the trimmed name, unpadded.
std::string RenameFile(core::DiskImageBuffer& disk, int slot, std::string_view name);

// 16 on B-DOS, 10 otherwise.
int DiskNameMaxLength(const core::DirectoryState& state);

// state.DiskNameText trimmed: what the Change disk name dialog proposes
// (empty when the disk has no name).
std::string CurrentDiskName(const core::DirectoryState& state);

// The disk name shares bytes 212-219 of slot 0 with the length, start and
// autostart of a ZX file kept there: naming such a disk would damage that
// file, so it is refused.
inline constexpr Refusal kDiskNameWouldDamageFile{
    "The first file is a ZX Spectrum file whose details share the disk name's bytes", 420};
std::optional<Refusal> DiskNameRefusal(const core::DiskImageBuffer& disk);

// Unless DiskNameRefusal refuses (then nothing changes), writes `name`,
// untrimmed, cut or padded with spaces to DiskNameMaxLength, into slot 0's
// DiskName (and on B-DOS its DiskNameTail); nothing else of slot 0 changes.
// A SAM-DOS disk becomes MasterDOS (DirSlotCount stays until the next
// scan). The caller refreshes the status bar, which rebuilds DiskNameText.
std::optional<Refusal> ChangeDiskName(core::DiskImageBuffer& disk, core::DirectoryState& state,
                                      std::string_view name);

}  // namespace vellonix::fileops
