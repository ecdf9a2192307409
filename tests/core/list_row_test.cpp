// One directory entry decoded into the texts and icons of its list row.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "image_builder.hpp"
#include "vellonix/core/list_row.hpp"

namespace vellonix::core {
namespace {

using imagekit::ImageBuilder;
using namespace std::string_literals;
namespace F = DirEntryField;

constexpr int kSlot = 5;

DirEntry PlainFile(ImageBuilder& image, std::uint8_t status) {
  return image.PlaceFile(kSlot, status, "FILE", std::vector<std::uint8_t>(700, 0x44));
}

// A Code file as the system adds it: start page 1, offset 0x8000, 1000 bytes.
DirEntry AddedCode(ImageBuilder& image, bool signature) {
  std::vector<std::uint8_t> data(1000, 0x33);
  if (signature) std::copy(CodeSignature.begin(), CodeSignature.end(), data.begin());
  return image.PlaceCodeFile(kSlot, "CODE", data);
}

struct Byte {
  std::size_t at;
  std::uint8_t value;
};

TEST(RowDetails, TypeSpecificTextsAndIcons) {
  struct Case {
    std::uint8_t status;
    bool signature;
    std::vector<Byte> bytes;
    const char* type;
    const char* details;
    int nameIcon;
  };
  const std::vector<Byte> exec32768{{F::ExecPage, 2}, {F::ExecOffset, 0}, {F::ExecOffset + 1, 0x80}};
  const Case cases[] = {
      {19, false, {}, "Code", "32768,1000", 23},
      {19, true, {}, "Code", "32768,1000", 29},
      {19, false, exec32768, "Code", "32768,1000,32768", 28},
      {19, true, exec32768, "Code", "32768,1000,32768", 29},
      // Page bits above 4 and offset bit 15 take no part in an address; 31 + 1 wraps to page 0.
      {19, false,
       {{F::StartPage, 31}, {F::StartOffset, 5}, {F::StartOffset + 1, 0x80}, {F::LengthPages, 0x22},
        {F::LengthInPage, 0x10}, {F::LengthInPage + 1, 0x80}, {F::ExecPage, 0xE3}, {F::ExecOffset, 1},
        {F::ExecOffset + 1, 0xC0}},
       "Code", "5,32784,65537", 28},
      {16, false, {{F::ExecPage, 0}, {F::ExecOffset, 10}}, "Basic", "Autostart at line 10", 27},
      {16, false, {{F::ExecPage, 0x3F}, {F::ExecOffset, 0xFF}, {F::ExecOffset + 1, 0xFF}}, "Basic",
       "Autostart at line 65535", 27},
      {16, false, {{F::ExecPage, 255}}, "Basic", "", 20},
      {16, false, {{F::ExecPage, 0x40}}, "Basic", "", 20},
      {16, false, {{F::ExecPage, 0x80}}, "Basic", "", 20},
      {1, false, {{F::ZxAutostart, 10}, {F::ZxAutostart + 1, 0}}, "ZX Basic", "Autostart at line 10", 5},
      {1, false, {{F::ZxAutostart, 10}, {F::ZxAutostart + 1, 252}}, "ZX Basic", "Autostart at line 64522", 5},
      {1, false, {{F::ZxAutostart, 10}, {F::ZxAutostart + 1, 253}}, "ZX Basic", "", 5},
      {1, false, {{F::ZxAutostart, 10}, {F::ZxAutostart + 1, 255}}, "ZX Basic", "", 5},
      {4, false, {{F::ZxStart + 1, 0x40}, {F::ZxLength, 0}, {F::ZxLength + 1, 0x1B}}, "ZX Code", "16384,6912", 8},
      {20, false, {{F::ScreenMode, 3}}, "SCREEN$", "Mode 4 screen", 24},
      {27, false, {}, "Unknown", "", 26},
      {31 | kProtectedBit, false, {}, "Unknown", "", 26},
      {kProtectedBit, false, {}, "Erased", "", 4},
  };
  for (const auto& c : cases) {
    ImageBuilder image;
    DirEntry entry = c.status == kTypeCode ? AddedCode(image, c.signature) : PlainFile(image, c.status);
    for (const auto& b : c.bytes) entry.SetByte(b.at, b.value);
    const ListRow row = DecodeRow(image.Disk(), kSlot);
    EXPECT_EQ(row.SubItems[kType], c.type) << c.details;
    EXPECT_EQ(row.SubItems[kDetails], c.details) << c.type;
    EXPECT_EQ(row.NameIcon, c.nameIcon) << c.details;
    EXPECT_FALSE(row.Corrupted) << c.details;
  }
}

TEST(RowDetails, CodeLengthTakesThePageCountsHighBitsOnlyWhenTheSectorsHoldThem) {
  ImageBuilder image;
  DirEntry entry = image.PlaceCodeFile(kSlot, "BIG", std::vector<std::uint8_t>(600000, 0x11));  // LengthPages 36
  EXPECT_EQ(DecodeRow(image.Disk(), kSlot).SubItems[kDetails], "32768,600000");
  // 1,177 sectors hold 600,261 bytes after the header: 300 more is no length.
  entry.SetWord(F::LengthInPage, static_cast<std::uint16_t>(entry.LengthInPage() + 300));
  EXPECT_EQ(DecodeRow(image.Disk(), kSlot).SubItems[kDetails], "32768," + std::to_string(600300 - 32 * 16384));
}

TEST(RowDetails, ZxAutostartComesFromTheFilesOwnEntry) {
  for (const std::uint8_t own : {std::uint8_t{0}, std::uint8_t{255}}) {
    ImageBuilder image;
    image.Entry(0).SetByte(F::ZxAutostart + 1, static_cast<std::uint8_t>(255 - own));  // slot 0 says the opposite
    PlainFile(image, kTypeZxBasic).SetWord(F::ZxAutostart, static_cast<std::uint16_t>(own << 8 | 10));
    EXPECT_EQ(DecodeRow(image.Disk(), kSlot).SubItems[kDetails], own == 0 ? "Autostart at line 10" : "");
  }
}

TEST(RowDetails, PlainTypesShowTheirNameAndIcon) {
  for (int code = 0; code < 32; ++code) {
    if (code == kTypeBasic || code == kTypeCode) continue;  // their icons depend on more fields
    ImageBuilder image;
    PlainFile(image, static_cast<std::uint8_t>(code));
    const ListRow row = DecodeRow(image.Disk(), kSlot);
    const int index = std::min(code, 22);
    EXPECT_EQ(row.NameIcon, 4 + index) << code;
    EXPECT_EQ(row.SubItems[kType], FileTypeNames[static_cast<std::size_t>(index)]) << code;
  }
}

TEST(RowIcon, AttributesUnlessCorrupted) {
  struct Case {
    std::uint8_t status;
    bool broken;
    int rowIcon;
  };
  const Case cases[] = {{0x13, false, Icon::None}, {0x53, false, 0}, {0x93, false, 1}, {0xD3, false, 2},
                        {0xC2, false, 2},          {0xC2, true, 3},  {0x02, true, 3}};
  for (const auto& c : cases) {
    ImageBuilder image;
    DirEntry entry = PlainFile(image, c.status);
    if (c.broken) entry.SetSectorCount(entry.SectorCount() + 1);
    const ListRow row = DecodeRow(image.Disk(), kSlot);
    EXPECT_EQ(row.RowIcon, c.rowIcon) << int(c.status);
    EXPECT_EQ(row.Corrupted, c.broken) << int(c.status);
    EXPECT_EQ(row.Protected, (c.status & 0x40) != 0) << int(c.status);
    EXPECT_EQ(row.Hidden, (c.status & 0x80) != 0) << int(c.status);
  }
}

TEST(RowColumns, CaptionNameAndSize) {
  const std::pair<std::string, std::string> names[] = {
      {"HELLO     ", "HELLO     "}, {"AB\0CD     "s, "AB"}, {"\0BCDEFGHIJ"s, ""},
      {"ABCDEFGHIJ", "ABCDEFGHIJ"}, {"\xA9 SAM\x7F    ", "\xA9 SAM\x7F    "},
  };
  for (const auto& [stored, shown] : names) {
    ImageBuilder image;
    DirEntry entry = PlainFile(image, 19);
    std::copy(stored.begin(), stored.end(), entry.FileName().begin());
    EXPECT_EQ(DecodeRow(image.Disk(), kSlot).SubItems[kFilename], shown);
  }
  // A message names the file with its blanks and control codes trimmed off.
  for (const auto& [stored, named] : {std::pair{"  HELLO   "s, "HELLO"s}, {"\x01 A B\x7F\t  "s, "A B\x7F"s}}) {
    ImageBuilder image;
    std::copy(stored.begin(), stored.end(), PlainFile(image, 16).FileName().begin());
    EXPECT_EQ(FileSummary(image.Disk(), kSlot), "File # 6 \"" + named + "\" (Basic)");
  }

  ImageBuilder image;
  image.Entry(41).SetStatusType(16);
  image.Entry(41).SetByte(F::SectorCount, 0x01);  // high byte first: 258 sectors
  image.Entry(41).SetByte(F::SectorCount + 1, 0x02);
  const ListRow row = DecodeRow(image.Disk(), 41);
  EXPECT_EQ(row.Caption, "42");
  EXPECT_EQ(row.SubItems[kSize], "129.0K");
  const std::pair<int, const char*> sizes[] = {{0, "0.0K"}, {1, "0.5K"}, {3, "1.5K"}, {4, "2.0K"}, {65535, "32767.5K"}};
  for (const auto& [sectors, text] : sizes) EXPECT_EQ(SizeText(sectors), text) << sectors;
}

TEST(RowDateStamp, PlainAndPackedForms) {
  const std::pair<DateStampBytes, const char*> cases[] = {
      {{1, 1, 100, 9, 5}, "01-01-2000 09:05"},       {{31, 12, 80, 23, 59}, "31-12-1980 23:59"},
      {{1, 1, 254, 0, 0}, "01-01-2154 00:00"},       {{1, 1, 100, 100, 5}, "01-01-2000 100:05"},
      {{1, 1, 100, 255, 200}, "01-01-2000 255:200"}, {{1, 0x88, 95, 0x61, 0xA3}, "01-01-1995 12:41:06"},
      {{1, 128, 100, 0, 0}, "01-00-2000 00:00:00"},  {{1, 255, 100, 255, 255}, "01-15-2000 31:63:62"},
      {{1, 13, 100, 9, 5}, ""},                      {{1, 127, 100, 9, 5}, ""},
      {{1, 0, 100, 9, 5}, ""},                       {{0, 1, 100, 9, 5}, ""},
      {{32, 1, 100, 9, 5}, ""},                      {{1, 1, 79, 9, 5}, ""},
      {{1, 1, 255, 9, 5}, ""},                       {{0, 0x88, 95, 0x61, 0xA3}, ""},
  };
  for (const auto& [s, text] : cases) {
    EXPECT_EQ(DateStampText(s), text) << int(s.Day) << "," << int(s.Month) << "," << int(s.Year) << ","
                                      << int(s.Hour) << "," << int(s.Minute);
  }
  ImageBuilder image;
  const std::uint8_t bytes[] = {1, 1, 100, 9, 5};
  std::copy(std::begin(bytes), std::end(bytes), PlainFile(image, 19).Bytes().begin() + 245);
  EXPECT_EQ(DecodeRow(image.Disk(), kSlot).SubItems[kDateStamp], "01-01-2000 09:05");
}

TEST(CodeSignatureTest, ComparesTheBytesAfterTheHeaderOfTheFirstSector) {
  struct Case {
    SectorAddress first;
    int shift;  // where the signature goes, relative to the end of the header
    bool expected;
  };
  const Case cases[] = {{{4, 1}, 0, true}, {{207, 10}, 0, true}, {{128, 1}, 0, true}, {{4, 1}, -9, false},
                        {{4, 1}, 1, false}};
  for (const auto& c : cases) {
    ImageBuilder image;
    image.Entry(kSlot).SetFirstSectorAddress(c.first);
    const auto at = SectorOffset(c.first.Track, c.first.Sector) + kFileHeaderSize + c.shift;
    std::copy(CodeSignature.begin(), CodeSignature.end(), image.Disk().begin() + at);
    EXPECT_EQ(HasCodeSignature(image.Disk(), kSlot), c.expected) << int(c.first.Track) << " " << c.shift;
    image.Disk()[static_cast<std::size_t>(at) + 15] ^= 1;
    EXPECT_FALSE(HasCodeSignature(image.Disk(), kSlot));
  }
}

TEST(CodeSignatureTest, AddressesNoDiskHasAnswerFalseWithoutReading) {
  const SectorAddress outside[] = {{0, 0}, {207, 11}, {207, 255}, {208, 1}, {255, 255}, {1, 33}, {4, 144}, {80, 1}};
  for (const auto& first : outside) {
    ImageBuilder image;
    // The signature lies where the address would lead, or at the buffer's
    // end, so a read past the check would match.
    std::copy(CodeSignature.begin(), CodeSignature.end(), image.Disk().end() - 16);
    const auto at = SectorOffset(first.Track, first.Sector) + kFileHeaderSize;
    if (at >= 0 && at + 16 <= static_cast<std::int64_t>(kDiskBytes)) {
      std::copy(CodeSignature.begin(), CodeSignature.end(), image.Disk().begin() + at);
    }
    image.Entry(kSlot).SetFirstSectorAddress(first);
    EXPECT_FALSE(HasCodeSignature(image.Disk(), kSlot)) << int(first.Track) << "/" << int(first.Sector);
  }
}

TEST(CodeSignatureTest, IconDoesNotDependOnTheChainTest) {
  ImageBuilder image;
  AddedCode(image, true).SetSectorCount(9);
  const ListRow row = DecodeRow(image.Disk(), kSlot);
  EXPECT_EQ(row.RowIcon, Icon::Corrupted);
  EXPECT_EQ(row.NameIcon, Icon::CodeSignature);
}

}  // namespace
}  // namespace vellonix::core
