// Track bytes and sector numbers to buffer offsets, directory slots, and
// the order of the sector allocation map.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <stdexcept>

#include "vellonix/core/dir_entry.hpp"
#include "vellonix/core/geometry.hpp"

namespace vellonix::core {
namespace {

TEST(SectorAddressing, OffsetsFollowTheTrackByteRule) {
  struct Case {
    std::uint8_t track, sector;
    std::int64_t offset;
  };
  const Case cases[] = {
      {0, 1, 0},           {0, 10, 4608},       {4, 1, 20480},       {79, 10, 409088},
      {128, 1, 409600},    {129, 2, 415232},    {207, 10, 818688},   {132, 1, 430080},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SectorOffset(c.track, c.sector), c.offset) << int(c.track) << "/" << int(c.sector);
    EXPECT_EQ(SectorEnd(c.track, c.sector), c.offset + 512);
  }
  EXPECT_EQ(SectorEnd(207, 10), 819200);
}

// Only tracks 0-79 of each side and sectors 1-10 are on a disk, though
// many other addresses have offsets inside the buffer.
TEST(SectorAddressing, DiskSectorsAreTracks0To79OfEachSideAndSectors1To10) {
  struct Case {
    std::uint8_t track, sector;
    bool onDisk;
  };
  const Case cases[] = {
      {0, 1, true},     {4, 1, true},     {79, 10, true},  {128, 1, true},  {207, 10, true},  {1, 33, false},
      {4, 11, false},   {4, 144, false},  {80, 1, false},  {127, 1, false}, {207, 11, false}, {208, 1, false},
      {255, 255, false}, {0, 0, false},   {5, 0, false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsDiskSector(c.track, c.sector), c.onDisk) << int(c.track) << "/" << int(c.sector);
}

TEST(SectorMap, EveryPositionRoundTripsAndCoversTheDataAreaOnce) {
  std::set<std::int64_t> offsets;
  for (int position = 0; position < kMapPositions; ++position) {
    const SectorAddress address = MapPositionSector(position);
    ASSERT_EQ(SectorMapPosition(address), position) << position;
    ASSERT_TRUE(IsDiskSector(address.Track, address.Sector)) << position;
    ASSERT_GE(SectorOffset(address.Track, address.Sector), 20480) << position;
    offsets.insert(SectorOffset(address.Track, address.Sector));
  }
  EXPECT_EQ(offsets.size(), 1560u);
  EXPECT_EQ(MapPositionSector(0), (SectorAddress{4, 1}));
  EXPECT_EQ(MapPositionSector(759), (SectorAddress{79, 10}));
  EXPECT_EQ(MapPositionSector(760), (SectorAddress{128, 1}));
  EXPECT_EQ(MapPositionSector(1559), (SectorAddress{207, 10}));
}

TEST(SectorMap, DirectoryTracksAndBadAddressesHaveNoPosition) {
  for (std::uint8_t track = 0; track < 4; ++track) {
    for (std::uint8_t sector = 1; sector <= 10; ++sector) {
      EXPECT_FALSE(SectorMapPosition({track, sector}).has_value()) << int(track) << "/" << int(sector);
    }
  }
  const SectorAddress bad[] = {{4, 0}, {4, 11}, {128, 0}, {207, 11}, {80, 1}, {127, 1}, {208, 1}, {255, 10}};
  for (const auto& address : bad) {
    EXPECT_FALSE(SectorMapPosition(address).has_value()) << int(address.Track) << "/" << int(address.Sector);
  }
}

}  // namespace
}  // namespace vellonix::core
