// Extracting files: the length by type, and never more than the chain holds.
#include <gtest/gtest.h>

#include "fileops_support.hpp"
#include "scratch_dir.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/fileops/extract_file.hpp"

namespace vellonix::fileops {
namespace {

using namespace testing;
using imagekit::ImageBuilder;
using vellonix::testing::RandomBytes;
namespace F = core::DirEntryField;

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t count) {
  return {bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

TEST(ExtractFile, LengthByTypeCutToTheBytesTheChainHolds) {
  const auto body = RandomBytes(3 * 510, 5);  // three full sectors: 1,521 bytes after the header
  struct Case {
    std::uint8_t status;
    std::uint16_t zxLength;
    std::size_t expected;
  };
  const Case cases[] = {
      {5, 100, 1521},          // 48K snapshot: 49,152 asked, the chain holds less
      {9, 100, 1521},          // 128K snapshot
      {0xC4, 100, 100},        // ZX Code, attribute bits aside: ZxLength
      {7, 4000, 1521},         // ZX Screen: ZxLength beyond the chain
      {21, 100, 0},            // Directory: nothing
      {31, 100, 0},
  };
  for (const auto& c : cases) {
    ImageBuilder image;
    image.PlaceFile(3, c.status, "f", body).SetWord(F::ZxLength, c.zxLength);
    EXPECT_TRUE(ExtractFileBytes(image.Disk(), 3) == Slice(body, 9, c.expected)) << int(c.status);
  }
}

TEST(ExtractFile, FollowsTheChainAsFarAsTheLengthNeedsItStoppingAtABrokenLinkOrTheDisksEnd) {
  const auto body = RandomBytes(4 * 510, 6);
  const auto codeOf = [&](ImageBuilder& image) {
    auto entry = image.PlaceFile(0, 19, "f", body);
    entry.SetByte(F::LengthPages, 1);  // 16,384 + 0 asked
    return entry;
  };
  // A count written one short (or more): the chain goes on through real
  // sectors, and the whole body comes out.
  ImageBuilder shortCount;
  codeOf(shortCount).SetSectorCount(2);
  EXPECT_TRUE(ExtractFileBytes(shortCount.Disk(), 0) == Slice(body, 9, 4 * 510 - 9));
  EXPECT_EQ(ExtractChain(shortCount.Disk(), 0).size(), 4u);
  // A zero link, or a link to an address no disk has, ends the chain within
  // the count as past it, though sector 144 of track 4 or sector 33 of
  // track 1 would land on sectors inside the buffer.
  const core::SectorAddress ends[] = {{0, 3}, {4, 0}, {4, 144}, {1, 33}, {4, 11}, {80, 4}, {208, 1}};
  for (const auto link : ends) {
    for (const int count : {2, 4}) {
      ImageBuilder cut;
      codeOf(cut).SetSectorCount(count);
      const auto second = static_cast<std::size_t>(core::SectorOffset(4, 2));
      cut.Disk()[second + 510] = link.Track;
      cut.Disk()[second + 511] = link.Sector;
      EXPECT_TRUE(ExtractFileBytes(cut.Disk(), 0) == Slice(body, 9, 2 * 510 - 9))
          << int(link.Track) << "/" << int(link.Sector) << " count " << count;
    }
  }

  // The disk's last sector, whose link points past the end.
  ImageBuilder edge;
  const core::SectorAddress last[] = {{207, 10}};
  auto edgeEntry = edge.PlaceFileAt(0, 19, "f", body, last);
  edgeEntry.SetByte(F::LengthPages, 1);
  edgeEntry.SetSectorCount(4);
  edge.Disk()[core::kDiskBytes - 2] = 208;
  edge.Disk()[core::kDiskBytes - 1] = 1;
  EXPECT_TRUE(ExtractFileBytes(edge.Disk(), 0) == Slice(body, 9, 510 - 9));

  ImageBuilder noFirstSector;
  codeOf(noFirstSector).SetFirstSectorAddress({0, 0});
  EXPECT_TRUE(ExtractFileBytes(noFirstSector.Disk(), 0).empty());
  ImageBuilder loop;
  codeOf(loop).SetSectorCount(1);
  const auto fourth = static_cast<std::size_t>(core::SectorOffset(4, 4));
  loop.Disk()[fourth + 510] = 4;  // back to the first sector, for ever
  loop.Disk()[fourth + 511] = 1;
  EXPECT_EQ(ExtractFileBytes(loop.Disk(), 0).size(), 16384u);
}

TEST(ExtractFile, LengthPagesHighBitsCountOnlyWhenTheSectorsHoldThem) {
  const auto data = RandomBytes(600000, 8);  // LengthPages 36: bit 5 set
  ImageBuilder image;
  image.PlaceCodeFile(0, "large", data);
  EXPECT_EQ(ExtractLength(core::DirSlot(image.Disk(), 0)), 600000u);
  EXPECT_TRUE(ExtractFileBytes(image.Disk(), 0) == data);
  // Fewer sectors than the whole byte asks for: bits 5-7 are not length.
  image.Entry(0).SetSectorCount(1000);
  EXPECT_EQ(ExtractLength(core::DirSlot(image.Disk(), 0)), 600000u - 32 * 16384);
}

TEST(ExtractFile, WritesTheHostFileSafelyReplacingAnOldOne) {
  vellonix::testing::ScratchDir dir;
  const auto data = RandomBytes(2000, 4);
  ImageBuilder image;
  image.PlaceCodeFile(0, "f", data);
  const std::string out = dir.WriteFilled("out.bin", 5000, 'x');
  ExtractFileTo(image.Disk(), 0, out);
  EXPECT_TRUE(vellonix::testing::ReadBytes(out) == data);
  EXPECT_EQ(dir.Listing(), (std::set<std::string>{"out.bin"}));
  EXPECT_THROW(ExtractFileTo(image.Disk(), 0, dir.File("no/such/dir/out.bin")), core::HostIoError);
}

}  // namespace
}  // namespace vellonix::fileops
