// The chain test that decides whether a file counts as corrupted.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "image_builder.hpp"
#include "vellonix/core/directory.hpp"

namespace vellonix::core {
namespace {

using imagekit::ImageBuilder;

std::vector<std::uint8_t> Body(std::size_t size) { return std::vector<std::uint8_t>(size, 0x11); }

// Sets the link bytes at the end of (track, sector).
void Link(ImageBuilder& image, SectorAddress from, SectorAddress to) {
  const auto at = static_cast<std::size_t>(SectorEnd(from.Track, from.Sector));
  image.Disk()[at - 2] = to.Track;
  image.Disk()[at - 1] = to.Sector;
}

TEST(ChainTest, WellFormedChainsAreIntact) {
  ImageBuilder image;
  image.PlaceFile(0, 19, "ONE", Body(100));
  image.PlaceFile(1, 19, "TWO", Body(600));
  image.PlaceFile(2, 19, "MANY", Body(510 * 30 + 1));
  const std::vector<SectorAddress> sides{{128, 1}, {60, 9}, {200, 3}};
  image.PlaceFileAt(3, 19, "SIDES", Body(1500), sides);
  for (int slot = 0; slot < 4; ++slot) EXPECT_TRUE(TestFile(image.Disk(), slot)) << slot;
  EXPECT_EQ(image.Entry(2).SectorCount(), 31);
}

TEST(ChainTest, ChainEndingOnTheLastSectorOfTheDiskIsIntact) {
  ImageBuilder image;
  const std::vector<SectorAddress> tail{{206, 10}, {207, 10}};
  image.PlaceFileAt(0, 19, "TAIL", Body(1000), tail);
  const std::vector<SectorAddress> last{{207, 10}};
  image.PlaceFileAt(1, 19, "LAST", Body(10), last);
  EXPECT_TRUE(TestFile(image.Disk(), 0));
  EXPECT_TRUE(TestFile(image.Disk(), 1));
}

TEST(ChainTest, MissingOrEarlyEndingChainsAreCorrupted) {
  struct Case {
    const char* what;
    void (*damage)(ImageBuilder&);
  };
  const Case cases[] = {
      {"first track 0", [](ImageBuilder& i) { i.Entry(0).SetFirstSectorAddress({0, 1}); }},
      {"first sector 0", [](ImageBuilder& i) { i.Entry(0).SetFirstSectorAddress({4, 0}); }},
      {"count one above the chain", [](ImageBuilder& i) { i.Entry(0).SetSectorCount(4); }},
      {"zero link in the middle", [](ImageBuilder& i) { Link(i, MapPositionSector(0), {0, 0}); }},
      {"link to sector 0", [](ImageBuilder& i) { Link(i, MapPositionSector(1), {5, 0}); }},
  };
  for (const auto& c : cases) {
    ImageBuilder image;
    image.PlaceFile(0, 19, "VICTIM", Body(1200));  // three sectors from track 4 sector 1
    ASSERT_TRUE(TestFile(image.Disk(), 0));
    c.damage(image);
    EXPECT_FALSE(TestFile(image.Disk(), 0)) << c.what;
  }
}

// An address no disk has ends the chain, whether its offset lies past the
// buffer's end or inside it (sector 144 of track 4 would be track 18's
// fifth sector): the sector it would name is never followed.
TEST(ChainTest, ChainsReachingAnAddressNoDiskHasAreCorrupted) {
  const SectorAddress nowhere[] = {{208, 1}, {255, 10}, {207, 11}, {207, 255}, {255, 255},
                                   {4, 144}, {1, 33},   {4, 11},   {80, 1},    {127, 10}};
  for (const auto& address : nowhere) {
    ImageBuilder first;
    first.PlaceFile(0, 19, "FIRST", Body(10));
    first.Entry(0).SetFirstSectorAddress(address);
    EXPECT_FALSE(TestFile(first.Disk(), 0)) << "first sector " << int(address.Track) << "/" << int(address.Sector);

    ImageBuilder linked;
    linked.PlaceFile(0, 19, "LINKED", Body(1200));  // three sectors: the second's link names the third
    Link(linked, MapPositionSector(1), address);
    EXPECT_FALSE(TestFile(linked.Disk(), 0)) << "link " << int(address.Track) << "/" << int(address.Sector);
  }
}

TEST(ChainTest, ZeroSectorsIsIntactWhateverTheAddress) {
  ImageBuilder image;
  image.Entry(0).SetStatusType(19);
  image.Entry(1).SetStatusType(19);
  image.Entry(1).SetFirstSectorAddress({255, 255});
  EXPECT_TRUE(TestFile(image.Disk(), 0));
  EXPECT_TRUE(TestFile(image.Disk(), 1));
}

TEST(ChainTest, ChainsAreFollowedOnlySectorCountSteps) {
  ImageBuilder image;
  // A sector that links to itself, with the largest count the entry holds.
  const std::vector<SectorAddress> loop{{10, 5}};
  image.PlaceFileAt(0, 19, "LOOP", Body(10), loop);
  Link(image, {10, 5}, {10, 5});
  image.Entry(0).SetSectorCount(0xFFFF);
  // A chain that goes on past its count.
  image.PlaceFile(1, 19, "LONG", Body(1500));
  image.Entry(1).SetSectorCount(2);

  const auto started = std::chrono::steady_clock::now();
  EXPECT_TRUE(TestFile(image.Disk(), 0));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  EXPECT_TRUE(TestFile(image.Disk(), 1));
}

// A chain that never ends is cut short, but must get the verdict the whole
// walk of SectorCount links would give: a plain walk of every link is the
// reference. The longest loop here passes every sector of the disk once.
TEST(ChainTest, LoopingChainsGetTheVerdictOfTheFullWalk) {
  const auto fullWalk = [](const DiskImageBuffer& disk, int slot) {
    const ConstDirEntry entry = DirSlot(disk, slot);
    int remaining = entry.SectorCount();
    std::uint8_t track = entry.FirstTrack(), sector = entry.FirstSector();
    while (remaining != 0 && track != 0 && sector != 0) {
      if ((track & 0x7F) >= 80 || sector > 10) break;
      const std::int64_t end = SectorEnd(track, sector);
      track = disk[static_cast<std::size_t>(end - 2)];
      sector = disk[static_cast<std::size_t>(end - 1)];
      --remaining;
    }
    return remaining == 0;
  };
  ImageBuilder image;
  std::vector<SectorAddress> everySector;
  for (int position = 0; position < kMapPositions; ++position) everySector.push_back(MapPositionSector(position));
  image.PlaceFileAt(0, 19, "WHOLE", Body(100), everySector);
  Link(image, everySector.back(), everySector[100]);  // a tail of 100, then a loop of 1,460
  image.PlaceFileAt(1, 19, "SIDE", Body(100), std::vector<SectorAddress>{{200, 3}});  // a loop of one, on side 1
  Link(image, {200, 3}, {200, 3});
  ImageBuilder ends;  // the same sectors, the last linking to 0, 0
  ends.PlaceFileAt(0, 19, "ENDS", Body(100), everySector);
  for (const int count : {1, 1560, 1561, 1601, 1700, 40000, 0xFFFF}) {
    for (int slot = 0; slot < 2; ++slot) {
      image.Entry(slot).SetSectorCount(count);
      EXPECT_EQ(TestFile(image.Disk(), slot), fullWalk(image.Disk(), slot)) << slot << " " << count;
    }
    ends.Entry(0).SetSectorCount(count);
    EXPECT_EQ(TestFile(ends.Disk(), 0), count <= 1560) << count;
  }
}

}  // namespace
}  // namespace vellonix::core
