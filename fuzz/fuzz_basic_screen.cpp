// Any bytes as the data of a SAM file, decoded as `basic` and `screen` do.
// Byte 0 bit 0 picks a BASIC listing or a SCREEN$ picture. A listing:
// bit 1 takes the line range from bytes 1-4 (from, to; high bytes first),
// else every line. A picture: byte 1 is the entry's mode byte. The data
// start at byte 5.
//  - A listing lists exactly the lines whose records lie in the range, one
//    text line each, numbered in five columns, in UTF-8, each data byte
//    growing to at most a keyword; it ends at the end marker, or says where
//    the data ran out.
//  - A picture has its mode's size and only SAM colours, or a reason why
//    there is none; on the canvas every pixel is two rows high, and two
//    columns wide unless it is MODE 3's.
#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "fuzz_check.hpp"
#include "vellonix/formats/basic_listing.hpp"
#include "vellonix/formats/screen.hpp"

namespace {

using namespace vellonix::formats;
using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t kHeaderSize = 5;
// The longest text one byte of a line becomes: a keyword of eleven letters
// ("DEF KEYCODE") with a space each side. A line adds its number in five
// columns, a space and the line feed.
constexpr std::size_t kLongestPerByte = 13;
constexpr std::size_t kLineOverhead = 7;

bool ValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 0;
    if (length == 0 || (length == 2 && lead < 0xC2) || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

// The line records as the program stores them: number (high byte first),
// length, text; a first byte of 0xFF ends the program.
struct Records {
  std::vector<int> Listed;
  bool EndMarker = false;
  bool Cut = false;
  std::optional<int> CutLine;
};

Records WalkRecords(Bytes program, BasicLineRange range) {
  Records records;
  std::size_t at = 0;
  while (at < program.size()) {
    if (program[at] == 0xFF) {
      records.EndMarker = true;
      return records;
    }
    if (program.size() - at < 4) {
      records.Cut = true;
      return records;
    }
    const int number = program[at] << 8 | program[at + 1];
    const std::size_t length = program[at + 2] | std::size_t{program[at + 3]} << 8;
    at += 4;
    if (number >= range.From && number <= range.To) records.Listed.push_back(number);
    if (program.size() - at < length) {
      records.Cut = true;
      records.CutLine = number;
      return records;
    }
    at += length;
  }
  return records;
}

void CheckListing(Bytes program, BasicLineRange range) {
  const BasicListing listing = ListBasicProgram(program, range);
  const Records records = WalkRecords(program, range);
  FUZZ_CHECK(listing.EndMarkerFound == records.EndMarker && listing.Cut == records.Cut &&
                 listing.CutLine == records.CutLine,
             "a listing ends where the records end");
  FUZZ_CHECK(ValidUtf8(listing.Text), "a listing is UTF-8");
  FUZZ_CHECK(listing.Text.size() <= records.Listed.size() * kLineOverhead + program.size() * kLongestPerByte,
             "a listing grows no more than a keyword per byte");
  std::size_t line = 0;
  for (std::size_t at = 0; at < listing.Text.size(); ++line) {
    const std::size_t end = listing.Text.find('\n', at);
    FUZZ_CHECK(end != std::string::npos, "every listed line ends with a line feed");
    FUZZ_CHECK(line < records.Listed.size() && end - at >= 6 && listing.Text[at + 5] == ' ',
               "a listing holds a numbered line per record in range");
    const std::string_view number = std::string_view(listing.Text).substr(at, 5);
    const std::size_t digits = number.find_first_not_of(' ');
    FUZZ_CHECK(digits != std::string_view::npos && number.substr(digits) == std::to_string(records.Listed[line]),
               "each line shows its record's number");
    at = end + 1;
  }
  FUZZ_CHECK(line == records.Listed.size(), "every record in range is listed");
}

std::size_t PictureBytes(int mode) { return mode == 1 ? 6912 : mode == 2 ? 14336 : 24576; }

void CheckPicture(Bytes data, std::uint8_t modeByte) {
  const ScreenResult result = DecodeScreen(data, modeByte);
  const int mode = modeByte + 1;
  const bool hasPicture = modeByte <= 3 && data.size() >= PictureBytes(mode);
  FUZZ_CHECK(result.Error.empty() == hasPicture, "a picture is decoded exactly when its data hold one");
  const RgbImage& image = result.Picture.Image;
  if (!hasPicture) {
    FUZZ_CHECK(image.Pixels.empty(), "a refused picture has no pixels");
    return;
  }
  const int width = mode == 3 ? 512 : 256;
  const std::size_t extra = data.size() - PictureBytes(mode);
  FUZZ_CHECK(result.Picture.Mode == mode && image.Width == width && image.Height == kScreenRows &&
                 image.Pixels.size() == std::size_t(width) * kScreenRows,
             "a picture has its mode's size");
  FUZZ_CHECK(result.Picture.PaletteEntries == static_cast<int>(std::min<std::size_t>(extra, 16)) &&
                 result.Picture.LineChanges >= 0 &&
                 std::size_t(result.Picture.LineChanges) <= (extra > 40 ? (extra - 40) / 4 : 0),
             "a picture's palette and line changes come from its data");
  const auto key = [](Rgb c) { return std::size_t{c.R} << 16 | std::size_t{c.G} << 8 | c.B; };
  static const std::vector<bool> samColour = [&] {
    std::vector<bool> all(std::size_t{1} << 24);
    for (int colour = 0; colour < 128; ++colour) all[key(SamColour(static_cast<std::uint8_t>(colour)))] = true;
    return all;
  }();
  for (const Rgb pixel : image.Pixels) FUZZ_CHECK(samColour[key(pixel)], "a picture shows SAM colours only");
  const RgbImage canvas = ScaleToCanvas(image);
  FUZZ_CHECK(canvas.Width == 512 && canvas.Height == 384 && canvas.Pixels.size() == 512u * 384u,
             "the canvas is 512 x 384");
  for (int y = 0; y < canvas.Height; y += 2) {
    for (int x = 0; x < canvas.Width; ++x) {
      FUZZ_CHECK(canvas.At(x, y) == canvas.At(x, y + 1) && (width == 512 || x % 2 == 1 || canvas.At(x, y) == canvas.At(x + 1, y)),
                 "the canvas shows each pixel whole");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::array<std::uint8_t, kHeaderSize> header{};
  std::copy_n(data, std::min(size, header.size()), header.begin());
  const Bytes body = size > kHeaderSize ? Bytes(data + kHeaderSize, size - kHeaderSize) : Bytes{};
  if ((header[0] & 1) == 0) {
    BasicLineRange range;
    if ((header[0] & 2) != 0) range = {header[1] << 8 | header[2], header[3] << 8 | header[4]};
    CheckListing(body, range);
  } else {
    CheckPicture(body, header[1]);
  }
  return 0;
}
