// Any bytes as a disk: composed as an MGT or SAD file or as the buffer
// itself (fuzz_input.hpp), scanned with every row decoded (a container
// also read in place, as the command line lists it), every listed
// file extracted, then up to six edits (add, erase, rename, disk name) as
// the program makes them, each followed by a fresh scan and the checks of
// edit_checks.hpp. The buffers live from run to run, so that a run
// allocates no megabytes of its own.
#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "edit_checks.hpp"
#include "fuzz_check.hpp"
#include "fuzz_input.hpp"
#include "vellonix/core/list_row.hpp"
#include "vellonix/core/listing.hpp"
#include "vellonix/fileops/add_file.hpp"
#include "vellonix/fileops/edit_entry.hpp"

namespace {

using namespace vellonix;
using fuzz::EditKind;
using fuzz::EditStep;

constexpr fileops::LocalDateTime kMoment{2026, 1, 2, 3, 4};

// Host paths whose file-name parts are plain, cut, empty, non-ASCII and
// not UTF-8 at all.
constexpr std::array<std::string_view, 8> kHostPaths{
    "host.bin",          "dir/readme.txt",      "a.b", "dir/", "n\xC3\xA4me.bin", "\xFF\xFE raw",
    "C:\\DOS\\FILE.COM", "a-long-file-name.bin"};
// Names as the name dialog and the command line pass them: blanks, too
// long, control codes, Latin-1 bytes, a zero byte inside (never first: no
// text box or argument holds one).
const std::array<std::string, 9> kFileNames{"", "  padded  ", "NEW", "0123456789AB", "\001ctl\177", "\240\377\351",
                                            std::string("a\0b", 3), "*", "exactly10!"};
const std::array<std::string, 9> kDiskNames{"", "*", "  spaced", "DISK", "sixteen-char-nam", "seventeen-chars-x",
                                            "\377\200", std::string("a\0b", 3), "0123456789"};

// The host file's bytes: never the same at two offsets of a sector apart,
// so that a sector in the wrong place shows. One more byte than any disk
// holds, plus room for the offset each step starts at.
std::span<const std::uint8_t> HostBytes(const EditStep& step) {
  static const std::vector<std::uint8_t> pattern = [] {
    std::vector<std::uint8_t> bytes(fileops::kLargestSamFile + 1 + 256);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 13);
    return bytes;
  }();
  const auto [a, b, c] = step.Args;
  const std::size_t small = a | std::size_t{b} << 8;
  constexpr std::size_t kTooLarge = fileops::kLargestSamFile + 1;
  // Mostly small, now and then near or past the largest file: large ones
  // cost time, and a few of them fill the disk.
  std::size_t size = a;
  switch (step.Variant & 7) {
    case 1:
    case 4:
      size = small;
      break;
    case 2:
      size = (small | std::size_t{c} << 16) % (kTooLarge + 1);
      break;
    case 3:
      size = kTooLarge - std::min(small, kTooLarge);  // near the largest file
      break;
    default:
      break;
  }
  return std::span(pattern).subspan(c, size);
}

// A name from its table, or (for the one pick past the table's end) the
// input's last bytes, so that names of any bytes and length are tried: up
// to a zero byte, which neither a path nor an argument nor a text box holds.
template <typename Table>
std::string PickName(const Table& table, unsigned pick, std::span<const std::uint8_t> tail) {
  const std::size_t index = pick % (table.size() + 1);
  if (index < table.size()) return std::string(table[index]);
  return {tail.begin(), std::find(tail.begin(), tail.end(), std::uint8_t{0})};
}

void Apply(const EditStep& step, std::span<const std::uint8_t> tailName, core::DiskImageBuffer& disk,
           core::DirectoryState& state, fuzz::EditChecker& checker) {
  const auto& listed = state.ListedSlots;
  const std::uint8_t pick = step.Args[0];
  const std::uint8_t name = step.Args[1];
  const bool keepName = (step.Variant & 1) != 0;
  switch (step.Kind) {
    case EditKind::None:
      return;
    case EditKind::Add: {
      const auto data = HostBytes(step);
      // The pattern offset takes part in the pick: the variant alone gives
      // only seven values here.
      const std::string path = PickName(kHostPaths, (step.Variant >> 3) + step.Args[2], tailName);
      const auto result = fileops::AddSamFile(disk, state, data, path, kMoment);
      // The main window lists the new file and the entries it brought back
      // into the list, counting the corrupted ones.
      for (const int slot : result.Revealed) state.CorruptedCount += core::DecodeRow(disk, slot).Corrupted ? 1 : 0;
      core::ComposeStatusBar(disk, state);
      // A refusal is the one the room check foretells (a host file too
      // large to read meets that one).
      if (!result.Added()) {
        FUZZ_CHECK(fileops::CheckRoom(disk, state, data.size()) == result.Refused, "the room check foretells a refusal");
      }
      checker.CheckAdd(disk, state, result, data);
      return;
    }
    case EditKind::Erase: {
      if (listed.empty()) return;
      const int row = static_cast<int>(pick % listed.size());
      const auto result = fileops::EraseFile(disk, state, row);
      core::ComposeStatusBar(disk, state);
      checker.CheckErase(disk, state, result, row);
      return;
    }
    case EditKind::Rename: {
      if (listed.empty()) return;
      const int slot = listed[pick % listed.size()];
      const std::string newName =
          keepName ? fileops::CurrentFileName(disk, slot) : PickName(kFileNames, name, tailName);
      const std::string shown = fileops::RenameFile(disk, slot, newName);
      core::ComposeStatusBar(disk, state);
      checker.CheckRename(disk, state, slot, shown);
      return;
    }
    case EditKind::Label: {
      const std::string newName = keepName ? fileops::CurrentDiskName(state) : PickName(kDiskNames, name, tailName);
      const auto refusal = fileops::ChangeDiskName(disk, state, newName);
      core::ComposeStatusBar(disk, state);
      checker.CheckLabel(disk, state, refusal.has_value());
      return;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::DiskComposer composer;
  static const auto disk = std::make_unique<core::DiskImageBuffer>();
  static fuzz::EditChecker checker;

  const fuzz::FuzzInput input = fuzz::ParseInput(std::span(data, size));
  composer.Compose(input, *disk);
  const core::DirectoryListing listing = core::ListDirectory(*disk);
  if (input.Kind != fuzz::Container::Raw) {
    const auto kind = input.Kind == fuzz::Container::Mgt ? core::ContainerKind::Mgt : core::ContainerKind::Sad;
    FUZZ_CHECK(core::ListDirectory(core::ContainerView(kind, composer.File(input.Kind))) == listing,
               "the container read in place lists as the disk decoded from it");
  }
  core::DirectoryState state = listing.State;
  checker.Start(*disk, state);
  for (const EditStep& step : input.Edits) Apply(step, input.TailName, *disk, state, checker);
  return 0;
}
