// Images of random or damaged bytes: the listing must never crash, never
// leave the buffer and always give rows the list can show.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "image_builder.hpp"
#include "vellonix/core/listing.hpp"

namespace vellonix::core {
namespace {

using imagekit::ImageBuilder;

void ExpectSaneListing(const DiskImageBuffer& disk, const std::string& what) {
  const DirectoryListing listing = ListDirectory(disk);
  const DirectoryState& state = listing.State;
  ASSERT_GE(state.DosKind, 0) << what;
  ASSERT_LE(state.DosKind, 2) << what;
  ASSERT_GE(state.DirSlotCount, 80) << what;
  ASSERT_LE(state.DirSlotCount, kMaxDirSlots) << what;
  ASSERT_EQ(listing.Rows.size(), state.ListedSlots.size()) << what;
  int corrupted = 0;
  int previous = -1;
  for (std::size_t i = 0; i < listing.Rows.size(); ++i) {
    const ListRow& row = listing.Rows[i];
    ASSERT_GT(state.ListedSlots[i], previous) << what;
    ASSERT_LT(state.ListedSlots[i], state.DirSlotCount) << what;
    previous = state.ListedSlots[i];
    ASSERT_EQ(row.Slot, state.ListedSlots[i]) << what;
    ASSERT_GE(row.RowIcon, Icon::None) << what;
    ASSERT_LE(row.RowIcon, Icon::Corrupted) << what;
    ASSERT_GE(row.NameIcon, Icon::FirstType) << what;
    ASSERT_LT(row.NameIcon, Icon::Count) << what;
    ASSERT_LE(row.SubItems[kFilename].size(), 10u) << what;
    if (row.Corrupted) ++corrupted;
  }
  EXPECT_EQ(state.CorruptedCount, corrupted) << what;
  EXPECT_EQ(listing.Status[2], std::to_string(listing.Rows.size()) + " Files") << what;
  // Every slot of the disk, listed or not, goes through the row pieces too.
  for (int slot = 0; slot < kMaxDirSlots; ++slot) {
    TestFile(disk, slot);
    HasCodeSignature(disk, slot);
  }
}

class DamagedImage : public ::testing::Test {
 protected:
  std::unique_ptr<DiskImageBuffer> disk_ = std::make_unique<DiskImageBuffer>();
};

TEST_F(DamagedImage, RandomBytesEverywhere) {
  for (unsigned seed = 1; seed <= 100; ++seed) {
    std::mt19937 random(seed);
    for (auto& b : *disk_) b = static_cast<std::uint8_t>(random());
    ExpectSaneListing(*disk_, "seed " + std::to_string(seed));
  }
}

// Zero bytes with random directory entries in front and random links at
// the end of every sector: long walks and chains through every corner.
TEST_F(DamagedImage, RandomEntriesAndLinks) {
  for (unsigned seed = 1; seed <= 150; ++seed) {
    std::mt19937 random(seed * 7919);
    disk_->fill(0);
    const int slots = static_cast<int>(random() % kMaxDirSlots);
    for (std::size_t i = 0; i < std::size_t(slots) * kDirEntrySize; ++i) (*disk_)[i] = static_cast<std::uint8_t>(random());
    // Counts below 512 keep looping chains cheap; the full range is covered above.
    for (int slot = 0; slot < slots; ++slot) (*disk_)[SlotOffset(slot) + DirEntryField::SectorCount] &= 1;
    for (std::size_t end = kBytesPerSector; end <= kDiskBytes; end += kBytesPerSector) {
      (*disk_)[end - 2] = static_cast<std::uint8_t>(random() % 210);
      (*disk_)[end - 1] = static_cast<std::uint8_t>(random() % 12);
    }
    if (seed % 3 == 0) {  // MasterDOS with the largest directories
      (*disk_)[DirEntryField::DiskName] = 'M';
      (*disk_)[DirEntryField::ExtraDirTracks] = static_cast<std::uint8_t>(150 + random() % 106);
      (*disk_)[DirEntryField::BdosSignature] = 0;
    }
    ExpectSaneListing(*disk_, "seed " + std::to_string(seed));
  }
}

// A real disk with a few bytes flipped.
TEST_F(DamagedImage, WellFormedDiskWithFlippedBytes) {
  ImageBuilder image;
  image.MasterDos("FLIPS", 1);
  for (int slot = 0; slot < 30; ++slot) {
    image.PlaceCodeFile(slot, "F" + std::to_string(slot), std::vector<std::uint8_t>(std::size_t(slot) * 400 + 1, 0x5A));
  }
  for (unsigned seed = 1; seed <= 100; ++seed) {
    std::mt19937 random(seed);
    *disk_ = image.Disk();
    for (int flip = 0; flip < 200; ++flip) {
      const std::size_t at = random() % (seed % 2 == 0 ? kDiskBytes : 30 * kDirEntrySize);
      (*disk_)[at] = static_cast<std::uint8_t>(random());
    }
    ExpectSaneListing(*disk_, "seed " + std::to_string(seed));
  }
}

}  // namespace
}  // namespace vellonix::core
