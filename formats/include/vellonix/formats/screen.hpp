// SCREEN$ files (type 20): the picture of one of the four screen modes,
// with its palette and line-interrupt colour changes, as RGB pixels.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vellonix::formats {

struct Rgb {
  std::uint8_t R = 0;
  std::uint8_t G = 0;
  std::uint8_t B = 0;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};

struct RgbImage {
  int Width = 0;
  int Height = 0;
  std::vector<Rgb> Pixels;  // row after row, from the top left
  Rgb At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};

// The SAM's 128 colours: bits 0/4 blue, 1/5 red, 2/6 green (low and high
// bit of each), bit 3 a little of all three; seven equal steps per channel.
Rgb SamColour(std::uint8_t colour);

// The colours the ROM gives the 16 palette entries at start-up.
inline constexpr std::array<std::uint8_t, 16> kDefaultPalette{0, 16, 32, 48, 64, 80, 96, 120,
                                                              0, 17, 34, 51, 68, 85, 102, 127};

inline constexpr int kScreenRows = 192;

// Bytes of picture data before the palette, per mode (1-4).
std::size_t ScreenBitmapBytes(int mode);

struct ScreenPicture {
  int Mode = 0;            // 1-4
  RgbImage Image;          // the mode's own size: 256 x 192, or 512 x 192 in MODE 3
  int PaletteEntries = 0;  // of the 16 the file holds; the rest are kDefaultPalette's
  int LineChanges = 0;     // palette changes applied from the line-interrupt table
};

struct ScreenResult {
  ScreenPicture Picture;
  std::string Error;  // set, and Picture empty, when the data hold no picture
};

// Decodes a SCREEN$ file's data (after its 9-byte header). `storedMode` is
// its directory entry's mode byte (0-3 for MODE 1-4). After the picture
// data come 40 palette bytes, of which the first 16 are the entries shown
// (the others hold the flash phase and MODE 3's spare set), and a table of
// line interrupts, four bytes each (row, entry, colour, flash colour) up to
// a 0xFF; each change shows from the row after its own. Attributes are
// shown in their unflashed phase; MODE 3's pixel values 1 and 2 select
// entries 2 and 1, as the hardware wires them.
ScreenResult DecodeScreen(std::span<const std::uint8_t> data, std::uint8_t storedMode);

// What the user should know of a picture whose file holds fewer than 16
// palette entries ("holds 5 of the 16 palette entries; ..."); empty when
// it holds them all.
std::string DescribePalette(const ScreenPicture& picture);

// The picture on the 512 x 384 canvas that shows every mode undistorted:
// each pixel two rows high, and two columns wide unless it is MODE 3's.
RgbImage ScaleToCanvas(const RgbImage& native);

}  // namespace vellonix::formats
