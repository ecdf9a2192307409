#include "vellonix/fileops/edit_entry.hpp"

#include <algorithm>
#include <stdexcept>

#include "sam_names.hpp"
#include "vellonix/core/dir_entry.hpp"

namespace vellonix::fileops {

using namespace vellonix::core;

std::optional<int> RowOfSlot(const DirectoryState& state, int slot) {
  const auto& listed = state.ListedSlots;
  const auto at = std::find(listed.begin(), listed.end(), slot);
  if (at == listed.end()) return std::nullopt;
  return static_cast<int>(at - listed.begin());
}

EraseResult EraseFile(DiskImageBuffer& disk, DirectoryState& state, int row) {
  auto& listed = state.ListedSlots;
  if (row < 0 || row >= static_cast<int>(listed.size())) throw std::out_of_range("no such list row");
  const int slot = listed[static_cast<std::size_t>(row)];
  const DirEntry entry = DirSlot(disk, slot);
  const bool corrupted = !TestFile(disk, slot);

  entry.SetStatusType(0);
  // StatusType 0 with a zero first name byte marks the never-used tail: the
  // scan and the next addition would no longer see the files after it, and
  // the addition could overwrite their sectors.
  const bool filesFollow = row + 1 < static_cast<int>(listed.size());
  if (filesFollow && entry.FileName()[0] == 0) entry.FileName()[0] = ' ';

  state.UsedSectors -= entry.SectorCount();
  // The count never goes below zero, whatever changed since the scan.
  if (corrupted && state.CorruptedCount > 0) --state.CorruptedCount;
  listed.erase(listed.begin() + row);
  return {slot, corrupted, listed.empty()};
}

std::string CurrentFileName(const DiskImageBuffer& disk, int slot) {
  const auto name = DirSlot(disk, slot).FileName();
  return TrimName(std::string(name.begin(), name.end()));
}

std::string RenameFile(DiskImageBuffer& disk, int slot, std::string_view name) {
  std::string trimmed = TrimName(name);
  trimmed.resize(std::min<std::size_t>(trimmed.size(), kFileNameMaxLength));
  detail::PutPadded(DirSlot(disk, slot).FileName(), trimmed);
  return trimmed;
}

int DiskNameMaxLength(const DirectoryState& state) {
  return state.DosKind == kBDos ? static_cast<int>(DirEntryField::DiskNameLength + DirEntryField::DiskNameTailLength)
                                : static_cast<int>(DirEntryField::DiskNameLength);
}

std::string CurrentDiskName(const DirectoryState& state) { return TrimName(state.DiskNameText); }

std::optional<Refusal> DiskNameRefusal(const DiskImageBuffer& disk) {
  const ConstDirEntry slot0 = DirSlot(disk, 0);
  constexpr int kFirstZxType = 1, kLastZxType = 11;
  if (!slot0.IsFree() && slot0.TypeCode() >= kFirstZxType && slot0.TypeCode() <= kLastZxType) {
    return kDiskNameWouldDamageFile;
  }
  return std::nullopt;
}

std::optional<Refusal> ChangeDiskName(DiskImageBuffer& disk, DirectoryState& state, std::string_view name) {
  if (const auto refusal = DiskNameRefusal(disk)) return refusal;
  std::string padded(name.substr(0, static_cast<std::size_t>(DiskNameMaxLength(state))));
  padded.resize(static_cast<std::size_t>(DiskNameMaxLength(state)), ' ');
  if (state.DosKind == kSamDos) state.DosKind = kMasterDos;

  const DirEntry slot0 = DirSlot(disk, 0);
  const std::string_view text(padded);
  detail::PutPadded(slot0.DiskName(), text.substr(0, DirEntryField::DiskNameLength));
  if (state.DosKind == kBDos) detail::PutPadded(slot0.DiskNameTail(), text.substr(DirEntryField::DiskNameLength));
  return std::nullopt;
}

}  // namespace vellonix::fileops
