// Delete, rename and disk name: the exact bytes each changes and the state
// kept in step.
#include <gtest/gtest.h>

#include <string>

#include "fileops_support.hpp"
#include "scratch_dir.hpp"
#include "vellonix/core/status_bar.hpp"
#include "vellonix/fileops/edit_entry.hpp"
#include "vellonix/fileops/extract_file.hpp"

namespace vellonix::fileops {
namespace {

using namespace testing;
using namespace std::string_literals;
using imagekit::ImageBuilder;
namespace F = core::DirEntryField;

std::vector<std::uint8_t> Data(std::size_t size, unsigned seed = 11) {
  return vellonix::testing::RandomBytes(size, seed);
}

TEST(EraseFile, ClearsOnlyTheStatusByteAndKeepsTheCountsInStep) {
  ImageBuilder image;
  image.PlaceCodeFile(0, "keep", Data(900));
  image.PlaceCodeFile(1, "broken", Data(900)).SetSectorCount(3);  // chain of 2: corrupted
  image.PlaceCodeFile(2, "last", Data(2000));
  core::DirectoryState state = Scanned(image.Disk());
  ASSERT_EQ(state.CorruptedCount, 1);

  const auto before = Copy(image.Disk());
  const EraseResult broken = EraseFile(image.Disk(), state, 1);
  EXPECT_EQ(broken.Slot, 1);
  EXPECT_TRUE(broken.WasCorrupted);
  EXPECT_FALSE(broken.ListEmpty);
  EXPECT_EQ(ChangedOffsets(*before, image.Disk()), (std::vector<std::size_t>{core::SlotOffset(1)}));
  EXPECT_TRUE(SameListing(state, Scanned(image.Disk())));
  EXPECT_EQ(core::ComposeStatusBar(image.Disk(), state)[3], "0 Corrupted files");

  EXPECT_FALSE(EraseFile(image.Disk(), state, 1).WasCorrupted);
  const EraseResult lastOne = EraseFile(image.Disk(), state, 0);
  EXPECT_TRUE(lastOne.ListEmpty);
  EXPECT_EQ(state.UsedSectors, 0);
  EXPECT_EQ(core::ComposeStatusBar(image.Disk(), state)[2], "0 Files");
  EXPECT_THROW(EraseFile(image.Disk(), state, 0), std::out_of_range);
}

TEST(EraseFile, AnEntryNamedFromAZeroByteDoesNotHideTheFilesAfterIt) {
  ImageBuilder image;
  image.PlaceCodeFile(0, "a", Data(900));
  image.PlaceCodeFile(1, "\0odd"s, Data(900, 1));
  image.PlaceCodeFile(2, "c", Data(900, 2));
  core::DirectoryState state = Scanned(image.Disk());
  EraseFile(image.Disk(), state, 1);
  EXPECT_EQ(image.Disk()[core::SlotOffset(1) + F::FileName], ' ');
  EXPECT_TRUE(SameListing(state, Scanned(image.Disk())));
  // The next file must not take slot 2's sectors.
  ASSERT_TRUE(AddSamFile(image.Disk(), state, Data(5000, 3), "new", kMoment).Added());
  EXPECT_TRUE(ExtractFileBytes(image.Disk(), 2) == Data(900, 2));
  EXPECT_EQ(core::DirSlot(image.Disk(), 1).FirstSectorAddress(), core::MapPositionSector(2));
  EXPECT_NE(core::DirSlot(image.Disk(), 1).SectorCount(), 0);

  // Last in the list, it may end the directory: the name stays as stored.
  ImageBuilder tail;
  tail.PlaceCodeFile(0, "a", Data(900));
  tail.PlaceCodeFile(1, "\0odd"s, Data(900));
  state = Scanned(tail.Disk());
  EraseFile(tail.Disk(), state, 1);
  EXPECT_EQ(tail.Disk()[core::SlotOffset(1) + F::FileName], 0);
  EXPECT_TRUE(SameListing(state, Scanned(tail.Disk())));
}

TEST(RenameFile, WritesTheTrimmedNamePaddedAndNothingElse) {
  const std::pair<std::string, std::string> cases[] = {
      {" \x01new name\t ", "new name"}, {"exactly10!", "exactly10!"}, {"", ""},
      {"   ", ""},                       {"eleven char", "eleven cha"}, {"\xA9 SAM", "\xA9 SAM"}};
  for (const auto& [typed, shown] : cases) {
    ImageBuilder image;
    image.PlaceCodeFile(3, "  old\0  "s, Data(700));
    EXPECT_EQ(CurrentFileName(image.Disk(), 3), "old");
    const auto before = Copy(image.Disk());
    EXPECT_EQ(RenameFile(image.Disk(), 3, typed), shown);
    const auto name = core::DirSlot(image.Disk(), 3).FileName();
    std::string padded = shown;
    padded.resize(10, ' ');
    EXPECT_EQ(std::string(name.begin(), name.end()), padded);
    for (const std::size_t at : ChangedOffsets(*before, image.Disk())) {
      EXPECT_TRUE(at >= core::SlotOffset(3) + 1 && at <= core::SlotOffset(3) + 10) << at;
    }
  }
}

TEST(ChangeDiskName, WritesTheNameFieldsOfEachDos) {
  struct Case {
    const char* dos;
    std::string typed;
    std::string diskName;  // bytes 210-219
    std::string tail;      // bytes 250-255, or empty when they must stay
    int dosAfter;
    std::string panel;
  };
  const Case cases[] = {
      {"SAM-DOS", "Games", "Games     ", "", core::kMasterDos, "Disk name: Games     "},
      {"SAM-DOS", " lead", " lead     ", "", core::kMasterDos, "Disk name:  lead     "},
      {"MasterDOS", "*hidden", "*hidden   ", "", core::kMasterDos, "Disk has no name"},
      {"MasterDOS", "ten chars!+", "ten chars!", "", core::kMasterDos, "Disk name: ten chars!"},
      {"B-DOS", "sixteen-char-nam", "sixteen-ch", "ar-nam", core::kBDos, "Disk name: sixteen-char-nam"},
      {"B-DOS", "short", "short     ", "      ", core::kBDos, "Disk name: short           "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    ImageBuilder image;
    const std::string dos = c.dos;
    if (dos == "MasterDOS") image.MasterDos("OLD NAME", 1);
    if (dos == "B-DOS") image.BDos("  old b-dos name");
    image.PlaceCodeFile(0, "code", Data(800));
    if (dos == "SAM-DOS") image.Entry(0).SetByte(F::ExtraDirTracks, 1);  // read only once the disk is MasterDOS
    core::DirectoryState state = Scanned(image.Disk());
    const int slotsBefore = state.DirSlotCount;
    EXPECT_EQ(DiskNameMaxLength(state), dos == "B-DOS" ? 16 : 10);
    EXPECT_EQ(CurrentDiskName(state), dos == "SAM-DOS" ? "" : dos == "B-DOS" ? "old b-dos name" : "OLD NAME");

    const auto before = Copy(image.Disk());
    EXPECT_FALSE(ChangeDiskName(image.Disk(), state, c.typed).has_value());
    EXPECT_EQ(state.DosKind, c.dosAfter);
    EXPECT_EQ(state.DirSlotCount, slotsBefore);
    const auto bytes = core::DirSlot(image.Disk(), 0).Bytes();
    EXPECT_EQ(std::string(bytes.begin() + 210, bytes.begin() + 220), c.diskName);
    if (!c.tail.empty()) {
      EXPECT_EQ(std::string(bytes.begin() + 250, bytes.begin() + 256), c.tail);
    }
    const std::size_t tailEnd = c.tail.empty() ? 0 : 256;
    for (const std::size_t at : ChangedOffsets(*before, image.Disk())) {
      EXPECT_TRUE((at >= 210 && at < 220) || (at >= 250 && at < tailEnd)) << at;
    }
    const auto panels = core::ComposeStatusBar(image.Disk(), state);
    EXPECT_EQ(panels[0], std::string(core::DosNames[static_cast<std::size_t>(c.dosAfter)]) + " format");
    EXPECT_EQ(panels[1], c.panel);
  }
}

// Bytes 212-219 of slot 0 are both the disk name and the length, start and
// autostart of a ZX file there: such a disk is not named, on any DOS, and
// nothing changes; once that file is erased, it can be.
TEST(ChangeDiskName, RefusedWhileSlotZeroHoldsAZxFile) {
  ImageBuilder image;
  image.PlaceFile(0, 7, "screen", Data(6912)).SetWord(F::ZxLength, 6912);
  core::DirectoryState state = Scanned(image.Disk());
  const auto before = Copy(image.Disk());
  EXPECT_EQ(ChangeDiskName(image.Disk(), state, "Games"), kDiskNameWouldDamageFile);
  EXPECT_TRUE(image.Disk() == *before);
  EXPECT_EQ(state.DosKind, core::kSamDos);
  EXPECT_EQ(ExtractFileBytes(image.Disk(), 0).size(), 6912u);

  EraseFile(image.Disk(), state, 0);
  EXPECT_FALSE(DiskNameRefusal(image.Disk()).has_value());
}

}  // namespace
}  // namespace vellonix::fileops
