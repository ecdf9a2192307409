// SCREEN$ pictures: each mode from data built here, against the RGB values
// its pixels, attributes and palette must give.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "vellonix/formats/screen.hpp"

namespace {

using namespace vellonix::formats;
using Bytes = std::vector<std::uint8_t>;

Rgb Hex(std::uint32_t rgb) {
  return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb)};
}

// Palette entry i shows colour kColours[i]: all different, none a default.
constexpr std::uint8_t kColours[16] = {1, 2, 4, 8, 16, 32, 64, 3, 5, 6, 9, 10, 12, 17, 34, 68};

// A mode's picture data, all zero, with the palette above and the given
// line-interrupt table after it.
Bytes ScreenData(int mode, const Bytes& lineTable = {0xFF}) {
  Bytes data(ScreenBitmapBytes(mode));
  Bytes palette(40);
  std::copy(std::begin(kColours), std::end(kColours), palette.begin());
  data.insert(data.end(), palette.begin(), palette.end());
  data.insert(data.end(), lineTable.begin(), lineTable.end());
  return data;
}

Rgb Entry(int entry) { return SamColour(kColours[entry]); }

ScreenPicture Decode(const Bytes& data, int mode) {
  const ScreenResult result = DecodeScreen(data, static_cast<std::uint8_t>(mode - 1));
  EXPECT_EQ(result.Error, "");
  return result.Picture;
}

TEST(Screen, TheSamColoursFollowTheirBits) {
  const std::pair<std::uint8_t, std::uint32_t> colours[] = {
      {0, 0x000000}, {1, 0x000049}, {2, 0x490000}, {8, 0x242424},  {17, 0x0000DB},
      {34, 0xDB0000}, {68, 0x00DB00}, {120, 0xB6B6B6}, {127, 0xFFFFFF}, {93, 0x24FFFF}};
  for (const auto& [colour, rgb] : colours) EXPECT_EQ(SamColour(colour), Hex(rgb)) << int{colour};
}

TEST(Screen, Mode1KeepsTheSpectrumRowOrderAndCellAttributes) {
  Bytes data = ScreenData(1);
  data[0x0100] = 0x80;  // row 1, leftmost pixel
  data[0x0020] = 0x80;  // row 8
  data[0x17E0 + 31] = 0x01;  // row 191, rightmost pixel
  data[6144] = 0x42;         // cell (0, 0): ink 2 with bit 6 (entry 10), paper 8
  data[6144 + 1] = 0x80 | 0x0B;  // cell (0, 1): FLASH, ink 3, paper 1: shown unswapped
  data[6911] = 0x3A;             // cell (23, 31): ink 2, paper 7

  const ScreenPicture picture = Decode(data, 1);
  ASSERT_EQ(picture.Image.Width, 256);
  ASSERT_EQ(picture.Image.Height, 192);
  EXPECT_EQ(picture.Image.At(0, 1), Entry(10));
  EXPECT_EQ(picture.Image.At(0, 8), Entry(0));  // cell (1, 0): attribute 0, ink 0
  EXPECT_EQ(picture.Image.At(0, 0), Entry(8));
  EXPECT_EQ(picture.Image.At(8, 0), Entry(1));
  EXPECT_EQ(picture.Image.At(255, 191), Entry(2));
  EXPECT_EQ(picture.Image.At(254, 191), Entry(7));
}

TEST(Screen, Mode2HasLinearRowsAndAnAttributePerRow) {
  Bytes data = ScreenData(2);
  data[5 * 32 + 2] = 0x01;          // row 5, pixel 23
  data[0x2000 + 5 * 32 + 2] = 0x0C;  // its attribute: ink 4, paper 1
  const ScreenPicture picture = Decode(data, 2);
  EXPECT_EQ(picture.Image.At(23, 5), Entry(4));
  EXPECT_EQ(picture.Image.At(22, 5), Entry(1));
  EXPECT_EQ(picture.Image.At(23, 6), Entry(0));
}

TEST(Screen, Mode3HasFourPixelsPerByteWithValuesOneAndTwoSwapped) {
  Bytes data = ScreenData(3);
  data[128 * 7 + 1] = 0x6C;  // row 7, pixels 4-7: values 1, 2, 3, 0
  const ScreenPicture picture = Decode(data, 3);
  ASSERT_EQ(picture.Image.Width, 512);
  EXPECT_EQ(picture.Image.At(4, 7), Entry(2));
  EXPECT_EQ(picture.Image.At(5, 7), Entry(1));
  EXPECT_EQ(picture.Image.At(6, 7), Entry(3));
  EXPECT_EQ(picture.Image.At(7, 7), Entry(0));
}

TEST(Screen, Mode4HasTwoPixelsPerByteHighNibbleFirst) {
  Bytes data = ScreenData(4);
  data[128 * 191 + 127] = 0xA5;
  const ScreenPicture picture = Decode(data, 4);
  EXPECT_EQ(picture.Image.At(254, 191), Entry(10));
  EXPECT_EQ(picture.Image.At(255, 191), Entry(5));
}

TEST(Screen, LineInterruptsChangeThePaletteFromTheNextRow) {
  // Entry 0 becomes colour 127 after row 10, entry 0 again 34 after row
  // 100; a change for entry 16 or for the last row shows nowhere.
  const Bytes table{10, 0, 127, 0, 100, 0, 34, 0, 50, 16, 127, 0, 191, 0, 127, 0, 0xFF};
  const ScreenPicture picture = Decode(ScreenData(4, table), 4);
  EXPECT_EQ(picture.Image.At(0, 10), Entry(0));
  EXPECT_EQ(picture.Image.At(0, 11), SamColour(127));
  EXPECT_EQ(picture.Image.At(0, 100), SamColour(127));
  EXPECT_EQ(picture.Image.At(0, 101), SamColour(34));
  EXPECT_EQ(picture.Image.At(0, 191), SamColour(34));
  EXPECT_EQ(picture.LineChanges, 2);
}

TEST(Screen, AShortPaletteIsCompletedWithTheDefaults) {
  Bytes data(ScreenBitmapBytes(4));
  data[0] = 0x01;  // pixel 1 shows entry 1
  data[1] = 0x23;  // pixels 2 and 3: entries 2 and 3
  data.insert(data.end(), {5, 6, 9});  // entries 0-2 only
  const ScreenResult result = DecodeScreen(data, 3);
  ASSERT_EQ(result.Error, "");
  EXPECT_EQ(result.Picture.PaletteEntries, 3);
  EXPECT_EQ(result.Picture.Image.At(0, 0), SamColour(5));
  EXPECT_EQ(result.Picture.Image.At(1, 0), SamColour(6));
  EXPECT_EQ(result.Picture.Image.At(2, 0), SamColour(9));
  EXPECT_EQ(result.Picture.Image.At(3, 0), SamColour(kDefaultPalette[3]));

  const ScreenResult bare = DecodeScreen(Bytes(ScreenBitmapBytes(1)), 0);
  EXPECT_EQ(bare.Picture.PaletteEntries, 0);
  EXPECT_EQ(bare.Picture.Image.At(0, 0), SamColour(kDefaultPalette[0]));
}

TEST(Screen, ShortDataAndUnknownModesAreRefused) {
  for (int mode = 1; mode <= 4; ++mode) {
    const ScreenResult result = DecodeScreen(Bytes(ScreenBitmapBytes(mode) - 1), static_cast<std::uint8_t>(mode - 1));
    EXPECT_NE(result.Error.find("MODE " + std::to_string(mode) + " picture needs"), std::string::npos) << result.Error;
    EXPECT_TRUE(result.Picture.Image.Pixels.empty());
  }
  EXPECT_NE(DecodeScreen(ScreenData(4), 0x20).Error, "");
  EXPECT_NE(DecodeScreen({}, 4).Error, "");
}

TEST(Screen, TheCanvasDoublesRowsAndAllButMode3Columns) {
  Bytes data4 = ScreenData(4);
  data4[128 * 3 + 2] = 0x70;  // pixel (4, 3): entry 7
  const RgbImage canvas4 = ScaleToCanvas(Decode(data4, 4).Image);
  ASSERT_EQ(canvas4.Width, 512);
  ASSERT_EQ(canvas4.Height, 384);
  for (const auto& [x, y] : {std::pair{8, 6}, {9, 6}, {8, 7}, {9, 7}}) EXPECT_EQ(canvas4.At(x, y), Entry(7));
  EXPECT_EQ(canvas4.At(10, 6), Entry(0));

  Bytes data3 = ScreenData(3);
  data3[128 * 3 + 1] = 0xC0;  // pixel (4, 3): entry 3
  const RgbImage canvas3 = ScaleToCanvas(Decode(data3, 3).Image);
  EXPECT_EQ(canvas3.At(4, 6), Entry(3));
  EXPECT_EQ(canvas3.At(4, 7), Entry(3));
  EXPECT_EQ(canvas3.At(5, 6), Entry(0));
}

}  // namespace
