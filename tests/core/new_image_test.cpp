// Blank disks: the exact bytes of each format, and what the scan makes of them.
#include <gtest/gtest.h>

#include <string>

#include "vellonix/core/listing.hpp"
#include "vellonix/core/new_image.hpp"
#include "vellonix/core/text.hpp"

namespace {

using namespace vellonix::core;

struct BlankCase {
  int DosKind;
  std::string Name;
  std::string DiskNameBytes;  // 210-219
  std::string SignatureBytes; // 232-235
  std::string TailBytes;      // 250-255
  std::string NamePanel;
};

class BlankDiskTest : public ::testing::TestWithParam<BlankCase> {};

std::string Bytes(const DiskImageBuffer& disk, std::size_t at, std::size_t length) {
  return {disk.begin() + static_cast<std::ptrdiff_t>(at), disk.begin() + static_cast<std::ptrdiff_t>(at + length)};
}

TEST_P(BlankDiskTest, WritesOnlyTheNameBytesAndScansAsAnEmptyDisk) {
  const BlankCase& c = GetParam();
  DiskImageBuffer disk;
  disk.fill(0xE5);  // whatever was there before must go
  MakeBlankDisk(disk, c.DosKind, c.Name);

  EXPECT_EQ(Bytes(disk, 210, 10), c.DiskNameBytes);
  EXPECT_EQ(Bytes(disk, 232, 4), c.SignatureBytes);
  EXPECT_EQ(Bytes(disk, 250, 6), c.TailBytes);
  for (std::size_t i = 0; i < disk.size(); ++i) {
    const bool nameByte = (i >= 210 && i < 220) || (i >= 232 && i < 236) || (i >= 250 && i < 256);
    if (!nameByte) {
      ASSERT_EQ(disk[i], 0) << "byte " << i;
    }
  }

  const DirectoryListing listing = ListDirectory(disk);
  EXPECT_EQ(listing.State.DosKind, c.DosKind);
  EXPECT_EQ(listing.State.DirSlotCount, 80);
  EXPECT_TRUE(listing.Rows.empty());
  EXPECT_EQ(listing.Status[1], c.NamePanel);
  EXPECT_EQ(listing.Status[4], "780.0 K free");
}

const std::string z10(10, '\0'), z6(6, '\0'), z4(4, '\0');

INSTANTIATE_TEST_SUITE_P(
    EachFormat, BlankDiskTest,
    ::testing::Values(
        BlankCase{kSamDos, "", z10, z4, z6, "Disk has no name"},
        // A name typed under another format is never written to a SAM-DOS disk.
        BlankCase{kSamDos, "ignored", z10, z4, z6, "Disk has no name"},
        BlankCase{kMasterDos, "", "*" + std::string(9, '\0'), z4, z6, "Disk has no name"},
        BlankCase{kMasterDos, "GAMES", "GAMES     ", z4, z6, "Disk name: GAMES     "},
        BlankCase{kBDos, "abc", "abc       ", "BDOS", "      ", "Disk name: abc             "},
        BlankCase{kBDos, "", std::string(10, ' '), "BDOS", "      ", "Disk name: " + std::string(16, ' ')},
        BlankCase{kBDos, "0123456789ABCDEF", "0123456789", "BDOS", "ABCDEF", "Disk name: 0123456789ABCDEF"}));

TEST(NameLimits, FollowTheFormat) {
  EXPECT_EQ(NewDiskNameLimit(kSamDos), 10u);
  EXPECT_EQ(NewDiskNameLimit(kMasterDos), 10u);
  EXPECT_EQ(NewDiskNameLimit(kBDos), 16u);
  EXPECT_FALSE(NewDiskTakesName(kSamDos));
}

TEST(Utf8ToLatin1, MapsTheFirst256CodePointsAndRefusesTheRest) {
  EXPECT_EQ(Utf8ToLatin1("caf\xC3\xA9"), std::optional<std::string>("caf\xE9"));
  EXPECT_EQ(Latin1ToUtf8(*Utf8ToLatin1("\xC2\x80\xC3\xBF")), "\xC2\x80\xC3\xBF");
  for (const char* bad : {"\xE2\x82\xAC", "\xC3", "\xC3(", "\x80", "\xC1\xBF"}) EXPECT_FALSE(Utf8ToLatin1(bad)) << bad;
  // Stored anyway: one '?' per character or stray byte, the rest kept.
  EXPECT_EQ(Utf8ToLatin1Lossy("\xE2\x82\xAC caf\xC3\xA9 \xC3( \xF0\x9F\x98\x80!"), "? caf\xE9 ?( ?!");
}

}  // namespace
