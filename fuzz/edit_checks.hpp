// The promises the scan, extract and every edit keep on any disk, checked
// against the disk as it was before the edit. Which of them hold by design
// and which by exception is written beside each check in edit_checks.cpp.
#pragma once

#include <bitset>
#include <memory>
#include <span>
#include <string_view>

#include "disk_walk.hpp"
#include "vellonix/core/directory.hpp"
#include "vellonix/fileops/add_file.hpp"
#include "vellonix/fileops/edit_entry.hpp"

namespace vellonix::fuzz {

class EditChecker {
 public:
  EditChecker();

  // After the load: the extract promises for every listed file. `state` is
  // the scan's; it becomes the state the first edit is compared with.
  void Start(const core::DiskImageBuffer& disk, const core::DirectoryState& state);

  // After each edit, with the state as the file operation left it and the
  // status bar refreshed, as the program holds it. Each leaves `state` as a
  // fresh scan of the disk gives it (the disk saved and opened again).
  void CheckAdd(const core::DiskImageBuffer& disk, core::DirectoryState& state, const fileops::AddResult& result,
                std::span<const std::uint8_t> data);
  void CheckErase(const core::DiskImageBuffer& disk, core::DirectoryState& state, const fileops::EraseResult& result,
                  int row);
  void CheckRename(const core::DiskImageBuffer& disk, core::DirectoryState& state, int slot, std::string_view shown);
  void CheckLabel(const core::DiskImageBuffer& disk, core::DirectoryState& state, bool refused);

 private:
  // What an edit was allowed to change, and what it changed by design.
  struct Scope {
    int Slot = -1;                                // the entry it wrote
    std::bitset<core::kDirEntrySize> EntryBytes;  // which bytes of that entry
    BlockSet NewBlocks;                           // sectors written whole: an addition's file
    bool Added = false;                           // Slot holds a new file, not one to compare
    bool NameSharesSlot0 = false;                 // the disk name lies over slot 0's file fields
    bool NamedSamDos = false;                     // a SAM-DOS disk became MasterDOS
  };

  void Finish(const core::DiskImageBuffer& disk, core::DirectoryState& state, const Scope& scope);
  BlockSet ChangedBlocks(const core::DiskImageBuffer& disk, const Scope& scope) const;
  int CheckUntouchedFile(const core::DiskImageBuffer& disk, int slot, const BlockSet& changed);
  void CheckSameFile(const core::DiskImageBuffer& disk, int slot, bool sameRow, const BlockSet& changed);
  void CheckExtract(const core::DiskImageBuffer& disk, int slot, std::size_t& budget);

  std::unique_ptr<core::DiskImageBuffer> before_;
  core::DirectoryState beforeState_;
  ChainWalk walk_;
};

}  // namespace vellonix::fuzz
