// The five status panels and the disk name kept in the directory state.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "image_builder.hpp"
#include "vellonix/core/listing.hpp"

namespace vellonix::core {
namespace {

using imagekit::ImageBuilder;
using namespace std::string_literals;

TEST(FreeSpace, HalfKilobytesWithOneDecimalAndASign) {
  const std::pair<int, const char*> cases[] = {
      {1560, "780.0 K free"}, {1559, "779.5 K free"}, {3, "1.5 K free"}, {1, "0.5 K free"}, {0, "0.0 K free"},
      {-1, "-0.5 K free"},    {-2, "-1.0 K free"},    {-3, "-1.5 K free"}, {-80, "-40.0 K free"},
  };
  for (const auto& [sectors, text] : cases) EXPECT_EQ(FreeSpaceText(sectors), text) << sectors;
}

TEST(FreeSpace, OverfullDiskShowsANegativeFigure) {
  ImageBuilder image;
  image.PlaceFile(0, 19, "HUGE", std::vector<std::uint8_t>(10, 0)).SetSectorCount(1601);
  const auto listing = ListDirectory(image.Disk());
  EXPECT_EQ(listing.Status[4], "-20.5 K free");
}

struct NameCase {
  const char* what;
  void (*make)(ImageBuilder&);
  std::string panel;
  std::string stored;
};

TEST(DiskName, PanelAndStoredTextByDos) {
  const NameCase cases[] = {
      {"SAM-DOS never has a name", [](ImageBuilder&) {}, "Disk has no name", ""},
      {"MasterDOS", [](ImageBuilder& i) { i.MasterDos("GAMES"); }, "Disk name: GAMES     ", "GAMES     "},
      {"MasterDOS star", [](ImageBuilder& i) { i.MasterDos("*"); }, "Disk has no name", ""},
      {"MasterDOS star first", [](ImageBuilder& i) { i.MasterDos("*STAR"); }, "Disk has no name", ""},
      {"MasterDOS leading space", [](ImageBuilder& i) { i.MasterDos(" SPACED"); }, "Disk name:  SPACED   ",
       " SPACED   "},
      {"MasterDOS name with a zero byte", [](ImageBuilder& i) { i.MasterDos("AB\0CD"s); }, "Disk name: AB",
       "AB\0CD     "s},
      {"B-DOS sixteen characters", [](ImageBuilder& i) { i.BDos("SIXTEEN CHAR NAM"); },
       "Disk name: SIXTEEN CHAR NAM", "SIXTEEN CHAR NAM"},
      {"B-DOS short name", [](ImageBuilder& i) { i.BDos("B"); }, "Disk name: B               ",
       "B               "},
      {"B-DOS with byte 210 zero",
       [](ImageBuilder& i) {
         i.BDos("ZEROED FIRST");
         i.Entry(0).SetByte(DirEntryField::DiskName, 0);
       },
       "Disk name: ", "\0EROED FIRST    "s},
      {"B-DOS star is a name", [](ImageBuilder& i) { i.BDos("*"); }, "Disk name: *               ",
       "*               "},
  };
  for (const auto& c : cases) {
    ImageBuilder image;
    c.make(image);
    const auto listing = ListDirectory(image.Disk());
    EXPECT_EQ(listing.Status[1], c.panel) << c.what;
    EXPECT_EQ(listing.State.DiskNameText, c.stored) << c.what;
  }
}

TEST(DiskName, PanelsFollowTheStateNotARescan) {
  ImageBuilder image;
  image.PlaceFile(0, 19, "FILE", std::vector<std::uint8_t>(10, 0));
  auto listing = ListDirectory(image.Disk());
  ASSERT_EQ(listing.Status[0], "SAM-DOS format");

  // Naming a SAM-DOS disk writes the name and turns the state to MasterDOS
  // without scanning again.
  const std::string name = "RENAMED   ";
  std::copy(name.begin(), name.end(), image.Entry(0).DiskName().begin());
  listing.State.DosKind = kMasterDos;
  const auto panels = ComposeStatusBar(image.Disk(), listing.State);
  EXPECT_EQ(panels[0], "MasterDOS format");
  EXPECT_EQ(panels[1], "Disk name: RENAMED   ");
  EXPECT_EQ(listing.State.DiskNameText, name);
  EXPECT_EQ(listing.State.DirSlotCount, 80);
  EXPECT_EQ(panels[2], "1 Files");

  // And back: a stale name is dropped.
  listing.State.DosKind = kSamDos;
  EXPECT_EQ(ComposeStatusBar(image.Disk(), listing.State)[1], "Disk has no name");
  EXPECT_TRUE(listing.State.DiskNameText.empty());
}

}  // namespace
}  // namespace vellonix::core
