// Adding host files: the bytes written, where they go, and the refusals.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fileops_support.hpp"
#include "scratch_dir.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/list_row.hpp"
#include "vellonix/fileops/edit_entry.hpp"
#include "vellonix/fileops/extract_file.hpp"

namespace vellonix::fileops {
namespace {

using namespace testing;
using core::SectorAddress;
using imagekit::ImageBuilder;
using vellonix::testing::RandomBytes;
namespace F = core::DirEntryField;

TEST(AddFile, SizesRoundTripByteForByteAndTheLargestFitExactly) {
  const std::pair<std::size_t, int> cases[] = {{0, 1},       {1, 1},         {501, 1},     {502, 2},
                                               {16384, 33}, {600000, 1177}, {795591, 1560}};
  for (const auto& [size, sectors] : cases) {
    SCOPED_TRACE(size);
    ImageBuilder image;
    core::DirectoryState state = Scanned(image.Disk());
    const auto data = RandomBytes(size, static_cast<unsigned>(size));
    const AddResult result = AddSamFile(image.Disk(), state, data, "/host/dir/file.bin", kMoment);
    ASSERT_TRUE(result.Added());
    EXPECT_EQ(result.Slot, 0);
    EXPECT_EQ(result.Row, 0);

    const auto entry = core::DirSlot(image.Disk(), 0);
    EXPECT_EQ(entry.SectorCount(), sectors);
    EXPECT_EQ(state.UsedSectors, sectors);
    EXPECT_EQ(entry.FirstSectorAddress(), (SectorAddress{4, 1}));
    EXPECT_TRUE(core::TestFile(image.Disk(), 0));
    EXPECT_TRUE(ExtractFileBytes(image.Disk(), 0) == data);
    // The listing shows the whole length, past 512 K as well.
    EXPECT_EQ(core::DecodeRow(image.Disk(), 0).SubItems[core::kDetails], "32768," + std::to_string(size));
    EXPECT_TRUE(SameListing(state, Scanned(image.Disk())));
  }
  ImageBuilder image;
  core::DirectoryState state = Scanned(image.Disk());
  const auto before = Copy(image.Disk());
  const AddResult tooLarge = AddSamFile(image.Disk(), state, RandomBytes(795592, 1), "big", kMoment);
  EXPECT_EQ(tooLarge.Refused, kNotEnoughSpace);
  EXPECT_EQ(tooLarge.Reason, "it needs 1561 sectors; 1560 are free");
  EXPECT_TRUE(ChangedOffsets(*before, image.Disk()).empty());
  EXPECT_TRUE(state.ListedSlots.empty());
}

TEST(AddFile, WritesTheEntryHeaderAndChainAndKeepsTheDiskWideFields) {
  ImageBuilder image;
  image.BDos("sixteen-char-nam");
  const auto before = Copy(image.Disk());
  core::DirectoryState state = Scanned(image.Disk());
  const auto data = RandomBytes(16384 + 600, 7);
  ASSERT_TRUE(AddSamFile(image.Disk(), state, data, "C:\\games\\program.bin", kMoment).Added());

  const auto entry = core::DirSlot(image.Disk(), 0);
  const auto bytes = entry.Bytes();
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 11), "program.bi");
  const std::pair<std::size_t, std::uint8_t> expected[] = {
      {0, 0x13},  {11, 0},     {12, 34},    {13, 4},     {14, 1},     {220, 0x20}, {236, 1},
      {237, 0},   {238, 0x80}, {239, 1},    {240, 600 & 0xFF}, {241, 600 >> 8}, {242, 0xFF}, {243, 0xFF},
      {244, 0xFF}, {245, 14},  {246, 3},    {247, 126},  {248, 9},    {249, 5}};
  for (const auto& [at, value] : expected) EXPECT_EQ(bytes[at], value) << at;
  for (std::size_t i = 0; i < F::HeaderCopyLength; ++i) EXPECT_EQ(bytes[F::HeaderCopy + i], bytes[F::StartPage + i]);
  // Slot 0's name, signature and name tail are the disk's, not the file's.
  for (const std::size_t at : {210u, 219u, 232u, 235u, 250u, 255u}) EXPECT_EQ(bytes[at], (*before)[at]) << at;

  const std::uint8_t header[] = {19, 600 & 0xFF, 600 >> 8, 0x00, 0x80, 0xFF, 0xFF, 1, 1};
  const auto first = static_cast<std::size_t>(core::SectorOffset(4, 1));
  EXPECT_TRUE(std::equal(std::begin(header), std::end(header), image.Disk().begin() + first));
  EXPECT_EQ(image.Disk()[first + 510], 4);
  EXPECT_EQ(image.Disk()[first + 511], 2);
  // The last sector (map position 33, track 7 sector 4): data, zeros, link 0, 0.
  const auto last = static_cast<std::size_t>(core::SectorOffset(7, 4));
  const std::size_t tail = data.size() + 9 - 33 * 510;
  EXPECT_EQ(image.Disk()[last + tail - 1], data.back());
  for (std::size_t i = tail; i < 512; ++i) EXPECT_EQ(image.Disk()[last + i], 0) << i;
}

TEST(AddFile, NamesKeepTheirCharactersCutOrPaddedToTen) {
  const std::pair<const char*, std::string> names[] = {
      {"readme.txt", "readme.txt"},           {"/a/b/program.bin", "program.bi"},
      {"a.b", "a.b       "},                  {"dir\\Mixed Case.X", "Mixed Case"},
      {"caf\xC3\xA9.txt", "caf\xE9.txt  "},   {"\xE2\x82\xAC.txt", "?.txt     "},
      {"raw\xE9\xFF", "raw\xE9\xFF     "}};
  for (const auto& [path, stored] : names) {
    const auto name = SamNameForHostFile(path);
    EXPECT_EQ(std::string(name.begin(), name.end()), stored) << path;
  }
}

TEST(AddFile, ReusesTheLowestSlotAndSectorsAndPlacesTheRowBetweenItsNeighbours) {
  ImageBuilder image;
  for (int slot = 0; slot < 6; ++slot) image.PlaceCodeFile(slot, "file", RandomBytes(1200, slot));
  core::DirectoryState state = Scanned(image.Disk());
  ASSERT_FALSE(EraseFile(image.Disk(), state, 2).WasCorrupted);
  const AddResult result = AddSamFile(image.Disk(), state, RandomBytes(1000, 9), "new", kMoment);
  ASSERT_TRUE(result.Added());
  EXPECT_EQ(result.Slot, 2);
  EXPECT_EQ(result.Row, 2);
  EXPECT_EQ(state.ListedSlots, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  // Slot 2's file had positions 6-8; the new one takes 6 and 7.
  EXPECT_EQ(core::DirSlot(image.Disk(), 2).FirstSectorAddress(), core::MapPositionSector(6));
  EXPECT_EQ(core::DirSlot(image.Disk(), 2).SectorCount(), 2);
  EXPECT_TRUE(SameListing(state, Scanned(image.Disk())));

  // A never-used slot ends the list early, but the entry after it keeps its
  // sectors: once the new file fills that slot, the entry is listed again,
  // and must still hold its own bytes.
  ImageBuilder ended;
  ended.PlaceCodeFile(0, "listed", RandomBytes(600, 1));
  ended.PlaceCodeFile(2, "beyond", RandomBytes(1200, 2));
  state = Scanned(ended.Disk());
  ASSERT_EQ(state.ListedSlots, std::vector<int>{0});
  const auto hidden = ExtractFileBytes(ended.Disk(), 2);
  const AddResult filled = AddSamFile(ended.Disk(), state, RandomBytes(2000, 3), "new", kMoment);
  EXPECT_EQ(filled.Slot, 1);
  EXPECT_EQ(filled.Revealed, std::vector<int>{2});
  EXPECT_TRUE(ExtractFileBytes(ended.Disk(), 2) == hidden);
  EXPECT_TRUE(SameListing(state, Scanned(ended.Disk())));
}

TEST(AddFile, NeverTakesASectorOfTheDirectory) {
  ImageBuilder image;
  image.MasterDos("EXTRA", 2);
  core::DirectoryState state = Scanned(image.Disk());
  ASSERT_EQ(state.DirSlotCount, 120);
  ASSERT_TRUE(AddSamFile(image.Disk(), state, RandomBytes(2000, 3), "x", kMoment).Added());
  EXPECT_EQ(core::DirSlot(image.Disk(), 0).FirstSectorAddress(), (SectorAddress{6, 1}));

  // A damaged count would put the directory past the disk's end: the walks
  // stay inside, and the directory then leaves no sector free.
  ImageBuilder damaged;
  damaged.MasterDos("HUGE", 0);
  damaged.Entry(0).SetByte(F::ExtraDirTracks, 250);
  state = Scanned(damaged.Disk());
  EXPECT_EQ(AddSamFile(damaged.Disk(), state, RandomBytes(10, 1), "x", kMoment).Refused, kNotEnoughSpace);
}

// A listed file's data is never overwritten, even where its map leaves a
// sector out.
TEST(AddFile, NeverTakesASectorAListedFileIsReadFrom) {
  ImageBuilder image;
  const std::vector<SectorAddress> chain{{4, 1}, {4, 3}, {4, 5}};
  auto entry = image.PlaceFileAt(0, 19, "odd", RandomBytes(1200, 1), chain);
  entry.SetWord(F::LengthInPage, 1200 - 9);
  std::fill(entry.SectorAddressMap().begin(), entry.SectorAddressMap().end(), std::uint8_t{0});
  core::DirectoryState state = Scanned(image.Disk());
  const auto before = ExtractFileBytes(image.Disk(), 0);
  ASSERT_EQ(before.size(), 1200u - 9);
  ASSERT_TRUE(AddSamFile(image.Disk(), state, RandomBytes(5000, 2), "new", kMoment).Added());
  EXPECT_TRUE(ExtractFileBytes(image.Disk(), 0) == before);
}

TEST(AddFile, RefusalsComeInOrderAndChangeNothing) {
  vellonix::testing::ScratchDir dir;
  const std::string small = dir.WriteFilled("small", 1000, 'a');
  // Sparse: reading it whole, or even allocating for it, would fail the test.
  // A host that reserves the space of a longer file (Windows) gets a size it can hold.
  const std::string huge = dir.WriteFilled("huge", 0);
  std::error_code tooLarge;
  std::filesystem::resize_file(vellonix::testing::Utf8Path(huge), std::uintmax_t{1} << 40, tooLarge);
  if (tooLarge) std::filesystem::resize_file(vellonix::testing::Utf8Path(huge), std::uintmax_t{1} << 26);

  ImageBuilder full;
  for (int slot = 0; slot < 80; ++slot) {
    full.Entry(slot).SetStatusType(core::kTypeCode);
    imagekit::SetFileName(full.Entry(slot), "f");
  }
  core::DirectoryState state = Scanned(full.Disk());
  const auto before = Copy(full.Disk());
  EXPECT_THROW(AddHostFile(full.Disk(), state, dir.File("missing"), "missing", kMoment), core::HostIoError);
  EXPECT_EQ(AddHostFile(full.Disk(), state, small, small, kMoment).Refused, kDirectoryFull);
  const AddResult hugeToFull = AddHostFile(full.Disk(), state, huge, huge, kMoment);
  EXPECT_EQ(hugeToFull.Refused, kDirectoryFull);
  EXPECT_EQ(hugeToFull.Reason, "all 80 directory slots are in use");
  EXPECT_TRUE(ChangedOffsets(*before, full.Disk()).empty());
  EXPECT_TRUE(SameListing(state, Scanned(full.Disk())));

  ImageBuilder empty;
  state = Scanned(empty.Disk());
  EXPECT_EQ(AddHostFile(empty.Disk(), state, huge, huge, kMoment).Refused, kNotEnoughSpace);
}

TEST(AddFile, ARefusedFileInTheMiddleLeavesTheOthersToBeAdded) {
  vellonix::testing::ScratchDir dir;
  const std::string first = dir.WriteFilled("first", 1000, '1');
  const std::string middle = dir.WriteFilled("middle", 40000, '2');  // 79 sectors
  const std::string last = dir.WriteFilled("last", 1000, '3');
  ImageBuilder image;
  image.PlaceFile(0, core::kTypeCode, "big", std::vector<std::uint8_t>(1500 * 510, 0x55));  // 60 sectors left
  core::DirectoryState state = Scanned(image.Disk());

  EXPECT_TRUE(AddHostFile(image.Disk(), state, first, first, kMoment).Added());
  const auto afterFirst = Copy(image.Disk());
  const AddResult refused = AddHostFile(image.Disk(), state, middle, middle, kMoment);
  EXPECT_EQ(refused.Refused, kNotEnoughSpace);
  EXPECT_EQ(refused.Reason, "it needs 79 sectors; 58 are free");
  EXPECT_TRUE(ChangedOffsets(*afterFirst, image.Disk()).empty());
  const AddResult third = AddHostFile(image.Disk(), state, last, last, kMoment);
  ASSERT_TRUE(third.Added());
  EXPECT_EQ(third.Slot, 2);
  EXPECT_TRUE(ExtractFileBytes(image.Disk(), 2) == std::vector<std::uint8_t>(1000, '3'));
  EXPECT_EQ(state.UsedSectors, 1504);
  EXPECT_TRUE(SameListing(state, Scanned(image.Disk())));
}

}  // namespace
}  // namespace vellonix::fileops
