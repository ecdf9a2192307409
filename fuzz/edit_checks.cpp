#include "edit_checks.hpp"

#include <algorithm>
#include <cstring>

#include "fuzz_check.hpp"
#include "vellonix/core/list_row.hpp"
#include "vellonix/core/status_bar.hpp"
#include "vellonix/fileops/extract_file.hpp"

namespace vellonix::fuzz {

using namespace vellonix::core;
namespace F = DirEntryField;

namespace {

// The start of a run extracts at most this many bytes in all, so that a
// crafted directory of 3,200 large files costs no more than a few of them
// (each extract of over 128 K maps fresh pages under the sanitizers).
constexpr std::size_t kExtractBudget = std::size_t{2} << 20;
constexpr std::size_t kExtractCheckedSize = 65536;

void AllowBytes(std::bitset<kDirEntrySize>& bytes, std::size_t from, std::size_t to) {
  for (std::size_t at = from; at < to; ++at) bytes[at] = true;
}

bool SameEntry(const DiskImageBuffer& a, const DiskImageBuffer& b, int slot) {
  return std::memcmp(a.data() + SlotOffset(slot), b.data() + SlotOffset(slot), kDirEntrySize) == 0;
}

bool SameRow(const ListRow& a, const ListRow& b) {
  return a.SubItems == b.SubItems && a.RowIcon == b.RowIcon && a.NameIcon == b.NameIcon && a.Corrupted == b.Corrupted;
}

// What a new load would show: the scan, the chain test of every listed
// file (the rows' corrupted mark) and the status bar's disk name.
DirectoryState Rescan(const DiskImageBuffer& disk) {
  DirectoryState state;
  ScanDirectory(disk, state, [&](int slot) { state.CorruptedCount += TestFile(disk, slot) ? 0 : 1; });
  ComposeStatusBar(disk, state);
  return state;
}

}  // namespace

EditChecker::EditChecker() : before_(std::make_unique<DiskImageBuffer>()) {}

void EditChecker::Start(const DiskImageBuffer& disk, const DirectoryState& state) {
  *before_ = disk;
  beforeState_ = state;
  std::size_t budget = kExtractBudget;
  for (const int slot : state.ListedSlots) CheckExtract(disk, slot, budget);
}

// Extract follows the chain from the first sector through links to real
// sectors (a real track, a sector 1-10) for as many sectors as the header
// and the length L its entry states need, whether or not SectorCount says
// fewer (other tools wrote some counts one short), and gives the bytes
// after the header: L of them when the chain holds that much, else all the
// chain holds up to the link that ends it. A chain that loops yields no
// more than L bytes. The chain test agrees with the same walk: a file is
// intact when SectorCount sectors follow, or its chain loops for ever.
void EditChecker::CheckExtract(const DiskImageBuffer& disk, int slot, std::size_t& budget) {
  // The name a file is offered under is never a path, nor holds a control code.
  for (const char ch : fileops::HostFileNameFor(disk, slot)) {
    FUZZ_CHECK(ch != '/' && ch != '\\' && static_cast<unsigned char>(ch) >= 0x20 && ch != 0x7F,
               "an extracted file's name is a plain name");
  }
  const ConstDirEntry entry = DirSlot(disk, slot);
  const int count = entry.SectorCount();
  WalkChain(disk, entry, count, walk_);
  if (count <= kBlocks || walk_.Count < kBlocks) {
    FUZZ_CHECK(TestFile(disk, slot) == (walk_.Count == count || walk_.Looped),
               "the chain test follows SectorCount real sectors");
  }

  const std::uint32_t length = fileops::ExtractLength(entry);
  WalkChain(disk, entry, SectorsFor(length), walk_);
  if (budget < length) return;
  budget -= length;
  const std::vector<std::uint8_t> bytes = fileops::ExtractFileBytes(disk, slot);
  if (walk_.Looped) {
    FUZZ_CHECK(bytes.size() <= length, "extract never gives more than the entry's length");
    return;
  }
  const std::size_t held = static_cast<std::size_t>(walk_.Count) * kSectorPayload;
  const std::size_t expected = std::min<std::size_t>(length, held > kFileHeaderSize ? held - kFileHeaderSize : 0);
  FUZZ_CHECK(bytes.size() == expected, "extract gives what the chain holds, up to the entry's length");
  FUZZ_CHECK(ChainDataIs(disk, walk_, bytes), "extract gives the chain's bytes");
}

void EditChecker::CheckAdd(const DiskImageBuffer& disk, DirectoryState& state, const fileops::AddResult& result,
                           std::span<const std::uint8_t> data) {
  Scope scope;
  if (!result.Added()) {
    // A refusal changes nothing (Finish compares the whole disk and state).
    Finish(disk, state, scope);
    return;
  }
  const int slot = result.Slot;
  FUZZ_CHECK(slot < ClampedSlots(beforeState_) && DirSlot(*before_, slot).IsFree(),
             "an addition takes a free slot of the directory");
  FUZZ_CHECK(result.Row >= 0 && static_cast<std::size_t>(result.Row) < state.ListedSlots.size() &&
                 state.ListedSlots[static_cast<std::size_t>(result.Row)] == slot,
             "the new file's row shows its slot");
  // Every byte of the slot but the disk-wide fields of slot 0 (disk name,
  // B-DOS signature and name tail, extra directory tracks).
  scope.Slot = slot;
  AllowBytes(scope.EntryBytes, 0, F::DiskName);
  AllowBytes(scope.EntryBytes, F::AddedFileMarker, F::HeaderCopy + F::HeaderCopyLength);
  AllowBytes(scope.EntryBytes, F::StartPage, F::DiskNameTail);
  scope.Added = true;

  // The new file's chain runs through exactly the sectors its map claims,
  // ends with a zero link, passes the chain test and gives the data back.
  const ConstDirEntry entry = DirSlot(disk, slot);
  scope.NewBlocks = MapBlocks(entry);
  FUZZ_CHECK(entry.SectorCount() == static_cast<int>(fileops::SectorsForFile(data.size())) &&
                 static_cast<int>(scope.NewBlocks.count()) == entry.SectorCount(),
             "the new file's map claims as many sectors as it needs");
  WalkChain(disk, entry, kBlocks, walk_);
  FUZZ_CHECK(walk_.Count == entry.SectorCount() && !walk_.Looped, "the new file's chain holds its sectors");
  for (const int block : walk_.First(walk_.Count)) {
    FUZZ_CHECK(scope.NewBlocks[static_cast<std::size_t>(block)], "the new file's chain stays in its map");
  }
  const std::size_t last =
      static_cast<std::size_t>(walk_.Blocks[static_cast<std::size_t>(walk_.Count - 1)]) * kBytesPerSector;
  FUZZ_CHECK(disk[last + kSectorLinkOffset] == 0 && disk[last + kSectorLinkOffset + 1] == 0,
             "the new file's chain ends with a zero link");
  FUZZ_CHECK(TestFile(disk, slot), "the new file passes the chain test");
  FUZZ_CHECK(ChainDataIs(disk, walk_, data), "the new file's chain holds the host file after its header");
  // Extract reads a chain that holds its length as Start checks; a large
  // file is left at that, as two vectors of its size cost more than the
  // rest of the run.
  if (data.size() <= kExtractCheckedSize) {
    const auto extracted = fileops::ExtractFileBytes(disk, slot);
    FUZZ_CHECK(std::equal(extracted.begin(), extracted.end(), data.begin(), data.end()),
               "the new file extracts as the host file");
  }
  Finish(disk, state, scope);
}

void EditChecker::CheckErase(const DiskImageBuffer& disk, DirectoryState& state, const fileops::EraseResult& result,
                             int row) {
  const int slot = result.Slot;
  const auto& listed = beforeState_.ListedSlots;
  FUZZ_CHECK(slot == listed[static_cast<std::size_t>(row)], "erase takes the slot of its row");
  FUZZ_CHECK(DirSlot(disk, slot).IsFree(), "an erased entry is free");
  FUZZ_CHECK(result.ListEmpty == state.ListedSlots.empty(), "erase says when the list is empty");
  // The first name byte changes only from zero to a space, and only when
  // a listed file follows: otherwise the erased slot would end the scan
  // before it; the last one may end it, as nothing listed comes after.
  const std::uint8_t wasFirst = DirSlot(*before_, slot).FileName()[0];
  const std::uint8_t isFirst = DirSlot(disk, slot).FileName()[0];
  FUZZ_CHECK(
      wasFirst == isFirst || (wasFirst == 0 && isFirst == ' ' && static_cast<std::size_t>(row) + 1 < listed.size()),
      "erase keeps the name but for a zero first byte before further files");
  Scope scope;
  scope.Slot = slot;
  AllowBytes(scope.EntryBytes, F::StatusType, F::FileName + 1);
  Finish(disk, state, scope);
}

void EditChecker::CheckRename(const DiskImageBuffer& disk, DirectoryState& state, int slot, std::string_view shown) {
  const auto name = DirSlot(disk, slot).FileName();
  FUZZ_CHECK(shown.size() <= name.size(), "a shown name fits the field");
  for (std::size_t i = 0; i < name.size(); ++i) {
    FUZZ_CHECK(name[i] == (i < shown.size() ? static_cast<std::uint8_t>(shown[i]) : ' '),
               "rename stores the name it shows, padded with spaces");
  }
  Scope scope;
  scope.Slot = slot;
  AllowBytes(scope.EntryBytes, F::FileName, F::FileName + F::FileNameLength);
  Finish(disk, state, scope);
}

void EditChecker::CheckLabel(const DiskImageBuffer& disk, DirectoryState& state, bool refused) {
  Scope scope;
  if (refused) {
    // A refused name changes nothing.
    Finish(disk, state, scope);
    return;
  }
  scope.Slot = 0;
  AllowBytes(scope.EntryBytes, F::DiskName, F::DiskName + F::DiskNameLength);
  if (beforeState_.DosKind == kBDos) AllowBytes(scope.EntryBytes, F::DiskNameTail, kDirEntrySize);
  // On MasterDOS and B-DOS the name already lies over the ZX fields of the
  // file in slot 0; on SAM-DOS that file is the user's to keep.
  scope.NameSharesSlot0 = beforeState_.DosKind != kSamDos;
  scope.NamedSamDos = beforeState_.DosKind == kSamDos && state.DosKind != kSamDos;
  Finish(disk, state, scope);
}

// Nothing but what the edit may write has changed: the directory area
// outside the edited entry, every other file's sectors and the free ones
// are as they were. Byte by byte only in blocks that differ at all.
BlockSet EditChecker::ChangedBlocks(const DiskImageBuffer& disk, const Scope& scope) const {
  BlockSet changed;
  for (std::size_t block = 0; block < kBlocks; ++block) {
    const std::size_t from = block * kBytesPerSector;
    if (SameBlock(*before_, disk, static_cast<int>(block))) continue;
    changed[block] = true;
    if (scope.NewBlocks[block]) continue;
    for (std::size_t at = from; at < from + kBytesPerSector; ++at) {
      if ((*before_)[at] == disk[at]) continue;
      const bool inEntry = scope.Slot >= 0 && at / kDirEntrySize == static_cast<std::size_t>(scope.Slot);
      FUZZ_CHECK(inEntry && scope.EntryBytes[at % kDirEntrySize],
                 "an edit writes only its own entry's fields and the new file's sectors");
    }
  }
  return changed;
}

// A listed file the edit did not write keeps its bytes, unless its chain
// runs through the directory, which every edit writes: an addition keeps
// clear of every sector an entry claims or reads its data from. It keeps
// its chain verdict too, unless that chain also runs, past the sectors its
// data is read from, through a sector its map does not claim (the
// allocation goes by the maps). Extract and the chain test read only the
// blocks of the walk, so a file whose walk meets no changed block cannot
// change. Returns how the file's count as corrupted changed.
int EditChecker::CheckUntouchedFile(const DiskImageBuffer& disk, int slot, const BlockSet& changed) {
  const ConstDirEntry entry = DirSlot(*before_, slot);
  const int directoryBlocks = DirectoryBlocks(ClampedSlots(beforeState_));
  const int extractReach = SectorsFor(fileops::ExtractLength(entry));
  const int testReach = entry.SectorCount();
  WalkChain(*before_, entry, std::max(extractReach, testReach), walk_);
  const auto meets = [&](int reach, bool outsideMapToo, bool& byDesign) {
    bool met = false;
    for (const int block : walk_.First(reach)) {
      if (!changed[static_cast<std::size_t>(block)]) continue;
      met = true;
      byDesign = byDesign || block < directoryBlocks || (outsideMapToo && !MapClaims(entry, block));
    }
    return met;
  };
  bool extractByDesign = false;
  if (meets(extractReach, false, extractByDesign) && !extractByDesign) {
    FUZZ_CHECK(fileops::ExtractFileBytes(*before_, slot) == fileops::ExtractFileBytes(disk, slot),
               "an edit leaves every other listed file's bytes as they were");
  }
  bool testByDesign = false;
  if (!meets(testReach, true, testByDesign)) return 0;
  const bool wasIntact = TestFile(*before_, slot);
  const bool isIntact = TestFile(disk, slot);
  FUZZ_CHECK(testByDesign || wasIntact == isIntact, "an edit leaves every other listed file's chain as it was");
  return static_cast<int>(wasIntact) - static_cast<int>(isIntact);
}

// A file whose entry the edit wrote but not as a file (its name, or the
// disk name over slot 0 on SAM-DOS) tests as before, and extracts as before
// unless its chain runs through the directory sector the edit wrote (a
// damaged chain reads what is written there); after a disk name its row
// (which shows a Code file's first bytes) reads as before too.
void EditChecker::CheckSameFile(const DiskImageBuffer& disk, int slot, bool sameRow, const BlockSet& changed) {
  FUZZ_CHECK(TestFile(*before_, slot) == TestFile(disk, slot), "renaming a file or the disk keeps its chain");
  const ConstDirEntry entry = DirSlot(*before_, slot);
  WalkChain(*before_, entry, SectorsFor(fileops::ExtractLength(entry)), walk_);
  const auto blocks = walk_.First(walk_.Count);
  if (std::any_of(blocks.begin(), blocks.end(), [&](int block) { return changed[static_cast<std::size_t>(block)]; })) {
    return;
  }
  FUZZ_CHECK(fileops::ExtractFileBytes(*before_, slot) == fileops::ExtractFileBytes(disk, slot),
             "renaming a file or the disk keeps the file's bytes");
  if (sameRow) {
    FUZZ_CHECK(SameRow(DecodeRow(*before_, slot), DecodeRow(disk, slot)), "naming the disk keeps slot 0's row");
  }
}

void EditChecker::Finish(const DiskImageBuffer& disk, DirectoryState& state, const Scope& scope) {
  const BlockSet changed = ChangedBlocks(disk, scope);
  // A scan reads nothing but the disk: an edit that changed no byte leaves
  // the last scan's state standing.
  const DirectoryState fresh = changed.none() ? beforeState_ : Rescan(disk);
  const int directoryBlocks = DirectoryBlocks(ClampedSlots(beforeState_));

  if (scope.Added) {
    // No sector is claimed by two listed files, as far as the edit goes:
    // the new file's sectors are no directory sector, and no other file
    // the scan lists now claims one of them, even one the scan did not list
    // before the addition (compared with before, not as an absolute rule:
    // a damaged disk may hold such pairs already).
    for (int block = 0; block < directoryBlocks; ++block) {
      FUZZ_CHECK(!scope.NewBlocks[static_cast<std::size_t>(block)], "an addition never writes the directory's sectors");
    }
    const auto newMap = DirSlot(disk, scope.Slot).SectorAddressMap();
    for (const int slot : fresh.ListedSlots) {
      if (slot == scope.Slot) continue;
      const auto map = DirSlot(disk, slot).SectorAddressMap();
      for (std::size_t i = 0; i < map.size(); ++i) {
        FUZZ_CHECK((map[i] & newMap[i]) == 0, "an addition takes no sector another listed file claims");
      }
    }
  }

  // Edits that change only directory sectors write no link bytes (those
  // are bytes 254-255 of odd slots, which no edit writes to another slot),
  // so only an addition can change another file's bytes or chain.
  int corruptedShift = 0;
  const bool beyondDirectory = (changed >> static_cast<std::size_t>(directoryBlocks)).any();
  for (const int slot : fresh.ListedSlots) {
    if (scope.Added && slot == scope.Slot) continue;
    if (slot == scope.Slot && !SameEntry(*before_, disk, slot)) {
      if (!scope.NameSharesSlot0) CheckSameFile(disk, slot, scope.Slot == 0 && scope.EntryBytes[F::DiskName], changed);
    } else if (beyondDirectory) {
      const int shift = CheckUntouchedFile(disk, slot, changed);
      // An entry an addition brought back into the list was counted on the
      // disk as it is now.
      const auto& listedBefore = beforeState_.ListedSlots;
      if (std::binary_search(listedBefore.begin(), listedBefore.end(), slot)) corruptedShift += shift;
    }
  }

  // The state the edit kept equals a fresh scan (an addition into the slot
  // that ended the scan lists the entries it brings back itself), with two
  // exceptions the design makes: a file whose chain verdict an edit may
  // change by design (above) is counted as the scan finds it, and naming a
  // SAM-DOS disk makes it MasterDOS, whose slot count (from slot 0's byte
  // 255) takes effect only at the next scan.
  DirectoryState expected = state;
  expected.CorruptedCount += corruptedShift;
  FUZZ_CHECK(fresh.DosKind == expected.DosKind && fresh.DiskNameText == expected.DiskNameText,
             "the DOS and disk name kept after an edit are a fresh scan's");
  if (!scope.NamedSamDos || fresh.DirSlotCount == expected.DirSlotCount) {
    FUZZ_CHECK(fresh.DirSlotCount == expected.DirSlotCount, "an edit keeps the directory's size");
    FUZZ_CHECK(fresh.ListedSlots == expected.ListedSlots, "the rows kept after an edit are a fresh scan's");
    FUZZ_CHECK(fresh.UsedSectors == expected.UsedSectors, "the used sectors kept after an edit are a fresh scan's");
    FUZZ_CHECK(fresh.CorruptedCount == expected.CorruptedCount,
               "the corrupted count kept after an edit is a fresh scan's");
  }

  // The next edit starts from the disk as a new load would see it.
  state = fresh;
  beforeState_ = fresh;
  for (std::size_t block = 0; block < kBlocks; ++block) {
    if (!changed[block]) continue;
    const std::size_t from = block * kBytesPerSector;
    std::memcpy(before_->data() + from, disk.data() + from, kBytesPerSector);
  }
}

}  // namespace vellonix::fuzz
