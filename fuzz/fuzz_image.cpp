// Arbitrary bytes as a disk image: the scan, every row, the extract of
// every listed file, an addition and the edits must neither crash nor read
// or write outside the disk, and must keep their promises on any disk.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "vellonix/core/container.hpp"
#include "vellonix/core/listing.hpp"
#include "vellonix/fileops/add_file.hpp"
#include "vellonix/fileops/edit_entry.hpp"
#include "vellonix/fileops/extract_file.hpp"

namespace {

using namespace vellonix;

// A broken promise is a finding: report it and abort, as the sanitizers do.
#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)

// An input of a container's exact size is decoded as that container; any
// other is the start of the disk, side-major, the rest left zero.
void LoadInput(std::span<const std::uint8_t> input, core::DiskImageBuffer& disk) {
  if (input.size() == core::kMgtFileSize) {
    core::DecodeContainer(core::ContainerKind::Mgt, input, disk);
  } else if (input.size() == core::kSadFileSize) {
    core::DecodeContainer(core::ContainerKind::Sad, input, disk);
  } else {
    disk.fill(0);
    std::copy_n(input.begin(), std::min(input.size(), disk.size()), disk.begin());
  }
}

// The host file to add: its size from the input's last bytes, mostly small,
// now and then up to one byte more than any disk holds; its bytes the input's.
std::vector<std::uint8_t> HostFile(std::span<const std::uint8_t> input) {
  std::size_t value = 0;
  for (std::size_t i = 0; i < 3 && i < input.size(); ++i) value = value << 8 | input[input.size() - 1 - i];
  const std::size_t size = value % 16 == 0 ? value % (fileops::kLargestSamFile + 2) : value % 5000;
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t at = 0; at < size && !input.empty(); at += input.size()) {
    std::copy_n(input.begin(), std::min(input.size(), size - at), bytes.begin() + static_cast<std::ptrdiff_t>(at));
  }
  return bytes;
}

void CheckAdd(core::DiskImageBuffer& disk, core::DirectoryState& state, std::span<const std::uint8_t> input) {
  const std::vector<std::uint8_t> host = HostFile(input);
  static const auto before = std::make_unique<core::DiskImageBuffer>();
  *before = disk;
  const core::DirectoryState stateBefore = state;
  const fileops::AddResult result = fileops::AddSamFile(disk, state, host, "fuzz/host.bin", {2026, 1, 2, 3, 4});
  if (!result.Added()) {
    FUZZ_CHECK(*before == disk);
    FUZZ_CHECK(state.ListedSlots == stateBefore.ListedSlots && state.UsedSectors == stateBefore.UsedSectors);
    return;
  }
  FUZZ_CHECK(state.ListedSlots.size() == stateBefore.ListedSlots.size() + 1);
  FUZZ_CHECK(state.ListedSlots[static_cast<std::size_t>(result.Row)] == result.Slot);
  FUZZ_CHECK(core::TestFile(disk, result.Slot));
  FUZZ_CHECK(fileops::ExtractFileBytes(disk, result.Slot) == host);
  // The directory's own bytes never receive file sectors.
  const int directorySlots = std::clamp(state.DirSlotCount, core::kStandardDirSlots, core::kMaxDirSlots);
  const auto directoryEnd = core::SlotOffset(directorySlots);
  for (std::size_t at = 0; at < directoryEnd; ++at) {
    if (at / core::kDirEntrySize != static_cast<std::size_t>(result.Slot)) FUZZ_CHECK((*before)[at] == disk[at]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  // Kept from run to run: a fresh 800 K allocation each time slows the search.
  static const auto disk = std::make_unique<core::DiskImageBuffer>();
  LoadInput(input, *disk);

  core::DirectoryListing listing = core::ListDirectory(*disk);
  for (const int slot : listing.State.ListedSlots) {
    const auto bytes = fileops::ExtractFileBytes(*disk, slot);
    FUZZ_CHECK(bytes.size() <= fileops::ExtractLength(core::DirSlot(*disk, slot)));
  }

  core::DirectoryState& state = listing.State;
  CheckAdd(*disk, state, input);
  if (!state.ListedSlots.empty()) {
    fileops::RenameFile(*disk, state.ListedSlots.front(), fileops::CurrentFileName(*disk, state.ListedSlots.front()));
    const std::size_t count = state.ListedSlots.size();
    fileops::EraseFile(*disk, state, 0);
    FUZZ_CHECK(state.ListedSlots.size() == count - 1 && state.CorruptedCount >= 0);
  }
  fileops::ChangeDiskName(*disk, state, fileops::CurrentDiskName(state));
  core::ComposeStatusBar(*disk, state);
  return 0;
}
