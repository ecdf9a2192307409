#include "vellonix/formats/screen.hpp"

#include <algorithm>

namespace vellonix::formats {

namespace {

constexpr int kCanvasWidth = 512;
constexpr int kCanvasHeight = 384;
constexpr std::size_t kPaletteBlock = 40;
constexpr std::size_t kLineChangeBytes = 4;
constexpr std::uint8_t kLineTableEnd = 0xFF;
constexpr std::size_t kAttributes1 = 6144;    // MODE 1: one per 8 x 8 cell
constexpr std::size_t kAttributes2 = 0x2000;  // MODE 2: one per 8 x 1 cell

using Palette = std::array<std::uint8_t, 16>;

// MODE 1 keeps the Spectrum's order of rows: thirds of 64 rows, and in
// each the first rows of the eight character rows, then their second rows.
std::size_t Mode1RowOffset(int y) {
  return static_cast<std::size_t>(((y & 0xC0) << 5) | ((y & 0x07) << 8) | ((y & 0x38) << 2));
}

// The entry shown by a pixel of an attribute cell: ink or paper, bit 6
// selecting entries 8-15.
int AttributeEntry(std::uint8_t attribute, bool ink) {
  return ink ? ((attribute & 0x40) >> 3) | (attribute & 0x07) : (attribute >> 3) & 0x0F;
}

// The palette entry of pixel x of row y.
int PixelEntry(std::span<const std::uint8_t> bitmap, int mode, int x, int y) {
  switch (mode) {
    case 1:
    case 2: {
      const std::size_t column = static_cast<std::size_t>(x / 8);
      const std::size_t rowStart = mode == 1 ? Mode1RowOffset(y) : static_cast<std::size_t>(y) * 32;
      const bool ink = (bitmap[rowStart + column] >> (7 - x % 8) & 1) != 0;
      const std::size_t attribute =
          mode == 1 ? kAttributes1 + static_cast<std::size_t>(y / 8) * 32 + column : kAttributes2 + static_cast<std::size_t>(y) * 32 + column;
      return AttributeEntry(bitmap[attribute], ink);
    }
    case 3: {
      constexpr std::array<int, 4> kWired{0, 2, 1, 3};
      const std::uint8_t byte = bitmap[static_cast<std::size_t>(y) * 128 + static_cast<std::size_t>(x / 4)];
      return kWired[(byte >> (6 - 2 * (x % 4))) & 3];
    }
    default: {
      const std::uint8_t byte = bitmap[static_cast<std::size_t>(y) * 128 + static_cast<std::size_t>(x / 2)];
      return x % 2 == 0 ? byte >> 4 : byte & 0x0F;
    }
  }
}

struct LineChange {
  int Row = 0;  // the first row that shows it
  int Entry = 0;
  std::uint8_t Colour = 0;
};

std::vector<LineChange> ReadLineChanges(std::span<const std::uint8_t> table) {
  std::vector<LineChange> changes;
  for (std::size_t at = 0; at + kLineChangeBytes <= table.size() && table[at] != kLineTableEnd; at += kLineChangeBytes) {
    // A change for the last row, or for an entry past 15, shows nowhere.
    if (table[at] + 1 < kScreenRows && table[at + 1] < 16) {
      changes.push_back({table[at] + 1, table[at + 1], table[at + 2]});
    }
  }
  return changes;
}

}  // namespace

Rgb SamColour(std::uint8_t colour) {
  const auto channel = [colour](int lowBit, int highBit) {
    const int level = ((colour >> highBit) & 1) * 4 + ((colour >> lowBit) & 1) * 2 + ((colour >> 3) & 1);
    return static_cast<std::uint8_t>((level * 255 + 3) / 7);
  };
  return {channel(1, 5), channel(2, 6), channel(0, 4)};
}

std::size_t ScreenBitmapBytes(int mode) {
  switch (mode) {
    case 1: return 6912;
    case 2: return 14336;
    default: return 24576;
  }
}

ScreenResult DecodeScreen(std::span<const std::uint8_t> data, std::uint8_t storedMode) {
  ScreenResult result;
  if (storedMode > 3) {
    result.Error = "its entry gives no screen mode (mode byte " + std::to_string(storedMode) + ")";
    return result;
  }
  const int mode = storedMode + 1;
  const std::size_t bitmapBytes = ScreenBitmapBytes(mode);
  if (data.size() < bitmapBytes) {
    result.Error = "it holds " + std::to_string(data.size()) + " bytes, and a MODE " + std::to_string(mode) +
                   " picture needs " + std::to_string(bitmapBytes);
    return result;
  }
  const auto bitmap = data.first(bitmapBytes);
  const auto extra = data.subspan(bitmapBytes);

  Palette palette = kDefaultPalette;
  const std::size_t entries = std::min(extra.size(), palette.size());
  for (std::size_t i = 0; i < entries; ++i) palette[i] = extra[i] & 0x7F;
  const auto changes = ReadLineChanges(extra.subspan(std::min(kPaletteBlock, extra.size())));

  ScreenPicture& picture = result.Picture;
  picture.Mode = mode;
  picture.PaletteEntries = static_cast<int>(entries);
  picture.LineChanges = static_cast<int>(changes.size());
  picture.Image.Width = mode == 3 ? 512 : 256;
  picture.Image.Height = kScreenRows;
  picture.Image.Pixels.reserve(static_cast<std::size_t>(picture.Image.Width) * kScreenRows);
  for (int y = 0; y < kScreenRows; ++y) {
    for (const LineChange& change : changes) {
      if (change.Row == y) palette[static_cast<std::size_t>(change.Entry)] = change.Colour & 0x7F;
    }
    for (int x = 0; x < picture.Image.Width; ++x) {
      picture.Image.Pixels.push_back(SamColour(palette[static_cast<std::size_t>(PixelEntry(bitmap, mode, x, y))]));
    }
  }
  return result;
}

RgbImage ScaleToCanvas(const RgbImage& native) {
  RgbImage canvas{kCanvasWidth, kCanvasHeight, {}};
  if (native.Width <= 0 || native.Height <= 0) return canvas;
  canvas.Pixels.reserve(static_cast<std::size_t>(kCanvasWidth) * kCanvasHeight);
  for (int y = 0; y < kCanvasHeight; ++y) {
    const int sourceY = y * native.Height / kCanvasHeight;
    for (int x = 0; x < kCanvasWidth; ++x) canvas.Pixels.push_back(native.At(x * native.Width / kCanvasWidth, sourceY));
  }
  return canvas;
}

std::string DescribePalette(const ScreenPicture& picture) {
  if (picture.PaletteEntries >= static_cast<int>(kDefaultPalette.size())) return {};
  return "holds " + std::to_string(picture.PaletteEntries) +
         " of the 16 palette entries; the others have the SAM's default colours";
}

}  // namespace vellonix::formats
