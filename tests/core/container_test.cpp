// The MGT and SAD containers: byte layout, recognition and file round trips.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "scratch_dir.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/core/image_file.hpp"

namespace vellonix::core {
namespace {

using testing::RandomBytes;
using testing::ReadBytes;
using testing::WriteBytes;

constexpr std::array<std::uint8_t, 22> kSadHeaderBytes{'Y', 'o', 'l', 't', '\'', 's', ' ', 'd', 'i', 's', 'k',
                                                       ' ', 'b', 'a', 'c', 'k', 'u', 'p', 2, 80, 10, 8};

bool StartsWithSadHeader(const std::vector<std::uint8_t>& file) {
  return file.size() == 819222 && std::equal(kSadHeaderBytes.begin(), kSadHeaderBytes.end(), file.begin());
}

TEST(ContainerLayout, MgtInterleavesTheSidesTrackByTrack) {
  auto disk = std::make_unique<DiskImageBuffer>();
  disk->fill(0);
  for (std::size_t side = 0; side < 2; ++side) {
    for (std::size_t track = 0; track < 80; ++track) {
      for (std::size_t sector = 1; sector <= 10; ++sector) {
        const std::size_t at = side * 409600 + track * 5120 + (sector - 1) * 512;
        (*disk)[at] = static_cast<std::uint8_t>(side * 100 + track);
        (*disk)[at + 1] = static_cast<std::uint8_t>(sector);
      }
    }
  }
  const auto mgt = EncodeContainer(ContainerKind::Mgt, *disk);
  ASSERT_EQ(mgt.size(), 819200u);
  for (std::size_t side = 0; side < 2; ++side) {
    for (std::size_t track = 0; track < 80; ++track) {
      for (std::size_t sector = 1; sector <= 10; ++sector) {
        const std::size_t at = (track * 2 + side) * 5120 + (sector - 1) * 512;
        ASSERT_EQ(mgt[at], side * 100 + track) << "side " << side << " track " << track;
        ASSERT_EQ(mgt[at + 1], sector);
      }
    }
  }
}

// Read in place, either container shows every track, slot and sector as
// the disk decoded from it holds them; addresses no disk has are refused.
TEST(ContainerView, ReadsTheDiskAsDecodedWithoutDecodingIt) {
  const auto mgt = RandomBytes(819200, 21);
  const auto sad = RandomBytes(819222, 22);
  for (const auto& [kind, file] : {std::pair{ContainerKind::Mgt, &mgt}, std::pair{ContainerKind::Sad, &sad}}) {
    SCOPED_TRACE(std::string(ContainerName(kind)));
    auto disk = std::make_unique<DiskImageBuffer>();
    DecodeContainer(kind, *file, *disk);
    const DiskView view = ContainerView(kind, *file);
    const auto decodedAt = [&](std::size_t offset) { return disk->begin() + static_cast<std::ptrdiff_t>(offset); };
    for (int side = 0; side < 2; ++side) {
      for (int track = 0; track < 80; ++track) {
        const auto bytes = view.Track(side, track);
        ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), decodedAt(TrackSideOffset(side, track))));
      }
    }
    for (int slot = 0; slot < kMaxDirSlots; ++slot) {
      const auto bytes = view.Slot(slot);
      ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), decodedAt(SlotOffset(slot)))) << slot;
    }
    for (const int trackByte : {0, 79, 128, 207}) {
      for (int sector = 1; sector <= 10; ++sector) {
        const SectorAddress address{static_cast<std::uint8_t>(trackByte), static_cast<std::uint8_t>(sector)};
        const auto bytes = view.Sector(address);
        const auto offset = static_cast<std::size_t>(SectorOffset(address.Track, address.Sector));
        ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), decodedAt(offset))) << trackByte << "/" << sector;
      }
    }
    for (const SectorAddress outside : {SectorAddress{80, 1}, SectorAddress{208, 1}, SectorAddress{0, 0},
                                        SectorAddress{4, 11}, SectorAddress{255, 255}}) {
      EXPECT_THROW(view.Sector(outside), std::out_of_range) << int(outside.Track) << "/" << int(outside.Sector);
    }
    EXPECT_THROW(view.Slot(kMaxDirSlots), std::out_of_range);
    EXPECT_THROW(view.Slot(-1), std::out_of_range);
    EXPECT_THROW(view.Track(2, 0), std::out_of_range);
    EXPECT_THROW(view.Track(0, 80), std::out_of_range);
  }
  EXPECT_THROW(ContainerView(ContainerKind::Mgt, sad), std::invalid_argument);
  EXPECT_THROW(ContainerView(ContainerKind::Sad, mgt), std::invalid_argument);
}

TEST(ContainerRecognition, SizeAndExtensionMustAgree) {
  struct Case {
    std::uintmax_t size;
    const char* path;
    std::optional<ContainerKind> expected;
  };
  const Case cases[] = {
      {819200, "disk.MGT", ContainerKind::Mgt},       {819200, "disk.mgt", ContainerKind::Mgt},
      {819200, "disk.Mgt", ContainerKind::Mgt},       {819200, "C:\\games\\disk.mGt", ContainerKind::Mgt},
      {819222, "disk.sad", ContainerKind::Sad},       {819222, "disk.SaD", ContainerKind::Sad},
      {819200, "disk.dsk", std::nullopt},             {819200, "disk.sad", std::nullopt},
      {819222, "disk.mgt", std::nullopt},             {819201, "disk.mgt", std::nullopt},
      {819200, "disk", std::nullopt},                 {819200, "disk.mgt.bak", std::nullopt},
      {819200, "/folder.mgt/disk", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(RecogniseContainer(c.size, c.path), c.expected) << c.size << " " << c.path;

  const std::pair<const char*, ContainerKind> saves[] = {
      {"a.mgt", ContainerKind::Mgt}, {"a.MGT", ContainerKind::Mgt}, {"a.sad", ContainerKind::Sad},
      {"a", ContainerKind::Sad},     {"a.dsk", ContainerKind::Sad}, {"x.mgt/a", ContainerKind::Sad},
  };
  for (const auto& [path, kind] : saves) EXPECT_EQ(ContainerForSave(path), kind) << path;
}

class ImageFileRoundTrip : public ::testing::Test {
 protected:
  testing::ScratchDir dir_;
  std::unique_ptr<DiskImageBuffer> disk_ = std::make_unique<DiskImageBuffer>();
};

TEST_F(ImageFileRoundTrip, MgtAndSadReloadAndSaveByteForByte) {
  const auto mgt = RandomBytes(819200, 11);
  auto sad = RandomBytes(819222, 12);
  std::copy(kSadHeaderBytes.begin(), kSadHeaderBytes.end(), sad.begin());
  WriteBytes(dir_.Path() / "in.Mgt", mgt);
  WriteBytes(dir_.Path() / "in.SAD", sad);
  EXPECT_EQ(LoadImageFile(dir_ / "in.Mgt", *disk_), ContainerKind::Mgt);
  EXPECT_EQ(SaveImageFile(dir_ / "out.mgt", *disk_), ContainerKind::Mgt);
  EXPECT_TRUE(ReadBytes(dir_.Path() / "out.mgt") == mgt);
  EXPECT_EQ(LoadImageFile(dir_ / "in.SAD", *disk_), ContainerKind::Sad);
  EXPECT_EQ(SaveImageFile(dir_ / "out.sad", *disk_), ContainerKind::Sad);
  EXPECT_TRUE(ReadBytes(dir_.Path() / "out.sad") == sad);
}

TEST_F(ImageFileRoundTrip, MgtSavedAsSadPutsSideZeroFirst) {
  const auto mgt = RandomBytes(819200, 13);
  WriteBytes(dir_.Path() / "in.mgt", mgt);
  ASSERT_EQ(LoadImageFile(dir_ / "in.mgt", *disk_), ContainerKind::Mgt);
  ASSERT_EQ(SaveImageFile(dir_ / "out.sad", *disk_), ContainerKind::Sad);
  const auto sad = ReadBytes(dir_.Path() / "out.sad");
  ASSERT_TRUE(StartsWithSadHeader(sad));
  for (std::size_t track = 0; track < 80; ++track) {
    for (std::size_t side = 0; side < 2; ++side) {
      const auto from = mgt.begin() + static_cast<std::ptrdiff_t>((track * 2 + side) * 5120);
      const auto to = sad.begin() + static_cast<std::ptrdiff_t>(22 + side * 409600 + track * 5120);
      EXPECT_TRUE(std::equal(from, from + 5120, to)) << "side " << side << " track " << track;
    }
  }
}

TEST_F(ImageFileRoundTrip, SadHeaderIsIgnoredOnLoadAndWrittenExactlyOnSave) {
  auto file = RandomBytes(819222, 14);  // random header bytes
  WriteBytes(dir_.Path() / "odd.sad", file);
  ASSERT_EQ(LoadImageFile(dir_ / "odd.sad", *disk_), ContainerKind::Sad);
  EXPECT_TRUE(std::equal(disk_->begin(), disk_->end(), file.begin() + 22));
  SaveImageFile(dir_ / "odd.sad", *disk_);
  std::copy(kSadHeaderBytes.begin(), kSadHeaderBytes.end(), file.begin());
  EXPECT_TRUE(ReadBytes(dir_.Path() / "odd.sad") == file);
}

TEST_F(ImageFileRoundTrip, SavingWithoutAnMgtNameWritesSadThatOnlyLoadsAsSad) {
  const auto saved = RandomBytes(819200, 15);
  for (const std::string name : {"plain", "plain.dsk"}) {
    std::copy(saved.begin(), saved.end(), disk_->begin());
    EXPECT_EQ(SaveImageFile(dir_ / name, *disk_), ContainerKind::Sad) << name;
    EXPECT_TRUE(StartsWithSadHeader(ReadBytes(dir_.Path() / name))) << name;
    disk_->fill(0);
    EXPECT_FALSE(LoadImageFile(dir_ / name, *disk_).has_value()) << name;
    testing::fs::rename(dir_.Path() / name, dir_.Path() / (name + ".sad"));
    EXPECT_EQ(LoadImageFile(dir_ / (name + ".sad"), *disk_), ContainerKind::Sad) << name;
    EXPECT_TRUE(std::equal(saved.begin(), saved.end(), disk_->begin())) << name;
  }
}

TEST_F(ImageFileRoundTrip, FilesThatAreNoImageLeaveTheBufferUntouched) {
  const auto before = RandomBytes(819200, 16);
  std::copy(before.begin(), before.end(), disk_->begin());
  WriteBytes(dir_.Path() / "disk.dsk", RandomBytes(819200, 17));
  WriteBytes(dir_.Path() / "disk.sad", RandomBytes(819200, 18));
  WriteBytes(dir_.Path() / "short.mgt", RandomBytes(1000, 19));
  WriteBytes(dir_.Path() / "empty.mgt", {});
  for (const char* name : {"disk.dsk", "disk.sad", "short.mgt", "empty.mgt"}) {
    EXPECT_FALSE(LoadImageFile(dir_ / name, *disk_).has_value()) << name;
    EXPECT_TRUE(std::equal(before.begin(), before.end(), disk_->begin())) << name;
  }
}

}  // namespace
}  // namespace vellonix::core
