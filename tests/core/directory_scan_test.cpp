// DOS detection and the directory walk, seen through the whole listing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "image_builder.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/core/listing.hpp"

namespace vellonix::core {
namespace {

using imagekit::ImageBuilder;
using imagekit::SetFileName;

const std::vector<std::uint8_t> kSmallBody(100, 0x22);

// An erased entry: free, but its name still there, so the walk goes on.
void Erase(ImageBuilder& image, int slot) {
  image.Entry(slot).SetStatusType(0);
  image.Entry(slot).SetByte(DirEntryField::FileName, 'x');
}

TEST(DosDetection, SignatureThenNameByteDecide) {
  struct Case {
    const char* signature;
    std::uint8_t nameByte;
    int expected;
  };
  const Case cases[] = {
      {"BDOS", 0, kBDos},      {"BDOS", 'N', kBDos},     {"BDOs", 'N', kMasterDos}, {"bdos", 0, kSamDos},
      {"\0DOS", ' ', kMasterDos}, {"\0\0\0\0", '*', kMasterDos}, {"\0\0\0\0", 0, kSamDos},
  };
  for (const auto& c : cases) {
    ImageBuilder image;
    std::copy_n(c.signature, 4, image.Entry(0).BdosSignature().begin());
    image.Entry(0).SetByte(DirEntryField::DiskName, c.nameByte);
    EXPECT_EQ(DetectDosKind(image.Disk()), c.expected) << c.signature << " " << int(c.nameByte);
  }
}

// A disk whose directory and files reach side 1, where the MGT order
// differs from the buffer's: listed from either container read in place,
// it is the listing of the buffer, row by row.
TEST(DirectoryScan, ContainersReadInPlaceListAsTheBuffer) {
  ImageBuilder image;
  image.MasterDos("FAR SIDE", 80);  // slots 80-1679, the last ones on side 1
  const std::vector<std::uint8_t> signature(CodeSignature.begin(), CodeSignature.end());
  image.PlaceCodeFile(0, "signed", signature, 32768);
  image.PlaceFile(1600, kTypeBasic | kProtectedBit, "far slot", kSmallBody).SetDateStamp({2, 3, 99, 4, 5});
  auto cut = image.PlaceCodeFile(1679, "cut", std::vector<std::uint8_t>(3000, 0x11));
  cut.SetSectorCount(cut.SectorCount() + 1);
  for (int slot = 1; slot < 1679; ++slot) {
    if (slot != 1600) Erase(image, slot);
  }
  ASSERT_GE(image.Entry(0).FirstTrack(), 128);  // the files lie on side 1

  const DirectoryListing buffer = ListDirectory(image.Disk());
  ASSERT_EQ(buffer.State.ListedSlots, (std::vector<int>{0, 1600, 1679}));
  ASSERT_EQ(buffer.Rows[0].NameIcon, Icon::CodeSignature);
  ASSERT_TRUE(buffer.Rows[2].Corrupted);
  for (const ContainerKind kind : {ContainerKind::Mgt, ContainerKind::Sad}) {
    const std::vector<std::uint8_t> file = EncodeContainer(kind, image.Disk());
    EXPECT_TRUE(ListDirectory(ContainerView(kind, file)) == buffer) << ContainerName(kind);
  }
}

TEST(DirectoryScan, AllZeroImageIsAnEmptySamDosDisk) {
  ImageBuilder image;
  const auto listing = ListDirectory(image.Disk());
  EXPECT_EQ(listing.State.DosKind, kSamDos);
  EXPECT_EQ(listing.State.DirSlotCount, 80);
  EXPECT_TRUE(listing.Rows.empty());
  EXPECT_TRUE(listing.State.ListedSlots.empty());
  EXPECT_TRUE(listing.State.DiskNameText.empty());
  const StatusTexts expected{"SAM-DOS format", "Disk has no name", "0 Files", "0 Corrupted files", "780.0 K free"};
  EXPECT_EQ(listing.Status, expected);
}

TEST(DirectoryScan, ExtraMasterDosTracksWidenTheWalkAndUseSpace) {
  ImageBuilder plain;
  plain.MasterDos("WORK", 0);
  ImageBuilder wide;
  wide.MasterDos("WORK", 2);
  for (int slot = 0; slot < 119; ++slot) Erase(wide, slot);
  wide.Entry(119).SetStatusType(16);  // the last slot of the sixth directory track
  SetFileName(wide.Entry(119), "LAST");
  wide.Entry(120).SetStatusType(16);  // beyond the directory
  SetFileName(wide.Entry(120), "BEYOND");

  const auto narrow = ListDirectory(plain.Disk());
  const auto widened = ListDirectory(wide.Disk());
  EXPECT_EQ(narrow.State.DirSlotCount, 80);
  EXPECT_EQ(widened.State.DirSlotCount, 120);
  EXPECT_EQ(widened.State.ListedSlots, std::vector<int>{119});
  EXPECT_EQ(narrow.Status[4], "780.0 K free");
  EXPECT_EQ(widened.Status[4], "770.0 K free");
  EXPECT_EQ(widened.Status[0], "MasterDOS format");
  EXPECT_EQ(widened.Status[1], "Disk name: WORK      ");
}

TEST(DirectoryScan, EveryExtraTrackCountStaysInsideTheDisk) {
  ImageBuilder image;
  image.MasterDos("BIG", 0);
  for (int slot = 0; slot < kMaxDirSlots; ++slot) Erase(image, slot);
  image.Entry(kMaxDirSlots - 1).SetStatusType(16);  // listed only when the walk reaches the end
  for (int extra = 0; extra <= 255; ++extra) {
    image.Entry(0).SetByte(DirEntryField::ExtraDirTracks, static_cast<std::uint8_t>(extra));
    const auto listing = ListDirectory(image.Disk());
    const int expected = std::min(80 + 20 * extra, 3200);
    ASSERT_EQ(listing.State.DirSlotCount, expected) << extra;
    EXPECT_EQ(listing.State.ListedSlots.size(), expected == 3200 ? 1u : 0u) << extra;
  }
  image.Entry(0).SetByte(DirEntryField::ExtraDirTracks, 156);
  EXPECT_EQ(ComputeDirSlotCount(image.Disk(), kMasterDos), 3200);
  EXPECT_EQ(ComputeDirSlotCount(image.Disk(), kSamDos), 80);
  EXPECT_EQ(ComputeDirSlotCount(image.Disk(), kBDos), 80);
}

TEST(DirectoryScan, ErasedEntriesAreSkippedAndTheNeverUsedSlotEndsTheWalk) {
  ImageBuilder image;
  image.PlaceFile(0, 19, "FIRST", kSmallBody);
  image.PlaceFile(1, 19, "GONE", kSmallBody);
  Erase(image, 1);
  image.PlaceFile(3, 19, "THIRD", kSmallBody);
  image.PlaceFile(7, 19, "SEVENTH", kSmallBody);
  image.PlaceFile(9, 19, "LATE", kSmallBody);  // after never-used slot 8
  for (int slot : {2, 4, 5, 6}) Erase(image, slot);

  const auto listing = ListDirectory(image.Disk());
  EXPECT_EQ(listing.State.ListedSlots, (std::vector<int>{0, 3, 7}));
  ASSERT_EQ(listing.Rows.size(), 3u);
  const char* captions[] = {"1", "4", "8"};
  for (std::size_t row = 0; row < 3; ++row) {
    EXPECT_EQ(listing.Rows[row].Slot, listing.State.ListedSlots[row]);
    EXPECT_EQ(listing.Rows[row].Caption, captions[row]);
  }
  EXPECT_EQ(listing.State.UsedSectors, 3);
  EXPECT_EQ(listing.Status[2], "3 Files");
}

TEST(DirectoryScan, AttributeOnlyEntriesAreListedAndCounted) {
  for (const std::uint8_t status : {kProtectedBit, kHiddenBit, std::uint8_t(kProtectedBit | kHiddenBit)}) {
    ImageBuilder image;
    image.PlaceFile(0, status, "ATTRS", std::vector<std::uint8_t>(2000, 1));  // four sectors
    const auto listing = ListDirectory(image.Disk());
    ASSERT_EQ(listing.Rows.size(), 1u) << int(status);
    EXPECT_EQ(listing.Rows[0].SubItems[kType], "Erased");
    EXPECT_EQ(listing.State.UsedSectors, 4);
    EXPECT_EQ(listing.Status[2], "1 Files");
    EXPECT_EQ(listing.Status[4], "778.0 K free");
  }
}

TEST(DirectoryScan, CorruptedFilesAreListedCountedAndStillUseSpace) {
  ImageBuilder image;
  image.PlaceFile(0, 19, "GOOD", kSmallBody);
  image.PlaceFile(1, 19, "BAD", kSmallBody).SetSectorCount(5);
  image.PlaceFile(2, 19, "WORSE", kSmallBody).SetFirstSectorAddress({0, 0});
  const auto listing = ListDirectory(image.Disk());
  EXPECT_EQ(listing.State.CorruptedCount, 2);
  EXPECT_EQ(listing.Status[3], "2 Corrupted files");
  EXPECT_EQ(listing.State.UsedSectors, 7);
  EXPECT_FALSE(listing.Rows[0].Corrupted);
  EXPECT_TRUE(listing.Rows[1].Corrupted);
}

TEST(DirectoryScan, RescanForgetsThePreviousListing) {
  ImageBuilder image;
  image.PlaceFile(0, 19, "ONE", kSmallBody).SetSectorCount(9);
  DirectoryState state;
  int calls = 0;
  ScanDirectory(image.Disk(), state, [&](int) { ++calls; });
  state.CorruptedCount = 1;
  ScanDirectory(image.Disk(), state, [&](int) { ++calls; });
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(state.ListedSlots, std::vector<int>{0});
  EXPECT_EQ(state.UsedSectors, 9);
  EXPECT_EQ(state.CorruptedCount, 0);
}

}  // namespace
}  // namespace vellonix::core
