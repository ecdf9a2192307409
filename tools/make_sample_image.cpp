// Writes the bundled sample image: a small MasterDOS disk with one file of
// each kind the file list decodes specially.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "image_builder.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/core/list_row.hpp"

using namespace vellonix;

namespace {

// The sample's own data pattern, kept so that the sample stays as it was.
std::vector<std::uint8_t> Pattern(std::size_t size, unsigned seed) { return imagekit::Pattern(size, seed, 31); }

// The loader's listing:
//    10 REM Vellonix sample disk
//    20 MODE 4: CLS
//    30 LOAD "title.scr" SCREEN$
//    40 FOR n=1 TO 8: BORDER n: PAUSE 10: NEXT n
//    50 LOAD "game.bin" CODE 32768
//    60 CALL 32768
std::vector<std::uint8_t> LoaderProgram() {
  enum : std::uint8_t { kRem = 0xB7, kMode = 0xAA, kCls = 0x9F, kLoad = 0x95, kFor = 0xC0, kTo = 0x8E,
                        kBorder = 0x9E, kPause = 0xC2, kNext = 0xC1, kCall = 0xE4, kFunction = 0xFF,
                        kScreen = 0x4C, kCode = 0x6C };
  using Text = std::vector<std::uint8_t>;
  const auto ascii = [](Text& text, std::string_view chars) { text.insert(text.end(), chars.begin(), chars.end()); };
  std::vector<Text> lines(6);
  lines[0] = {kRem};
  ascii(lines[0], "Vellonix sample disk");
  lines[1] = {kMode};
  imagekit::AppendBasicNumber(lines[1], 4);
  lines[1].insert(lines[1].end(), {':', kCls});
  lines[2] = {kLoad};
  ascii(lines[2], "\"title.scr\" ");
  lines[2].insert(lines[2].end(), {kFunction, kScreen});
  lines[3] = {kFor, 'n', '='};
  imagekit::AppendBasicNumber(lines[3], 1);
  lines[3].push_back(kTo);
  imagekit::AppendBasicNumber(lines[3], 8);
  lines[3].insert(lines[3].end(), {':', kBorder, 'n', ':', kPause});
  imagekit::AppendBasicNumber(lines[3], 10);
  lines[3].insert(lines[3].end(), {':', kNext, 'n'});
  lines[4] = {kLoad};
  ascii(lines[4], "\"game.bin\" ");
  lines[4].insert(lines[4].end(), {kFunction, kCode});
  imagekit::AppendBasicNumber(lines[4], 32768);
  lines[5] = {kCall};
  imagekit::AppendBasicNumber(lines[5], 32768);

  std::vector<std::uint8_t> program;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto line = imagekit::BasicLine(static_cast<int>(i + 1) * 10, lines[i]);
    program.insert(program.end(), line.begin(), line.end());
  }
  program.push_back(imagekit::kBasicEndMarker);
  return program;
}

// A SAM colour from its red, green and blue levels, 0-3 each.
constexpr std::uint8_t SamRgb(int red, int green, int blue) {
  const auto bits = [](int level, int low, int high) { return ((level & 1) << low) | ((level >> 1) << high); };
  return static_cast<std::uint8_t>(bits(blue, 0, 4) | bits(red, 1, 5) | bits(green, 2, 6));
}

// The title picture, MODE 4 (256 x 192, a palette entry per pixel): a sun
// setting over the sea, the sky in bands, the sun's reflection in the
// waves. Its palette follows the pixels, then the end of the (empty)
// line-interrupt table.
std::vector<std::uint8_t> TitlePicture() {
  constexpr std::array<std::uint8_t, 16> palette{
      SamRgb(0, 0, 1), SamRgb(0, 0, 2), SamRgb(1, 0, 2), SamRgb(2, 0, 2), SamRgb(2, 0, 1), SamRgb(3, 1, 1),
      SamRgb(3, 1, 0), SamRgb(3, 2, 0), SamRgb(3, 3, 1),  // sky, top to bottom, then the sun
      SamRgb(0, 0, 1), SamRgb(0, 1, 2), SamRgb(0, 1, 1), SamRgb(0, 0, 2),  // the sea's waves
      SamRgb(3, 2, 1), SamRgb(3, 3, 2), SamRgb(0, 0, 0)};  // reflections, and black
  constexpr int kWidth = 256, kHeight = 192, kHorizon = 128, kSunX = 128, kSunY = 112, kSunRadius = 40;
  std::vector<std::uint8_t> data(kWidth * kHeight / 2);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int dx = x - kSunX, dy = y - kSunY;
      int entry = 0;
      if (y < kHorizon) {
        entry = dx * dx + dy * dy < kSunRadius * kSunRadius ? 8 : std::min(7, y * 8 / kHorizon);
      } else {
        const int depth = y - kHorizon;
        const int glitter = kSunRadius - depth / 2;
        const int swell = (depth + (x / 24) % 2) / 3;
        entry = std::abs(dx) < glitter && swell % 2 == 0 ? 13 + (depth < 16) : 9 + swell % 4;
      }
      std::uint8_t& pair = data[static_cast<std::size_t>(y * kWidth + x) / 2];
      pair = static_cast<std::uint8_t>(x % 2 == 0 ? (pair & 0x0F) | entry << 4 : (pair & 0xF0) | entry);
    }
  }
  data.insert(data.end(), palette.begin(), palette.end());
  data.resize(data.size() + 24, 0);  // the rest of the 40 palette bytes
  data.push_back(0xFF);
  return data;
}

void Stamp(core::DirEntry entry, std::uint8_t day, std::uint8_t month, std::uint8_t year, std::uint8_t hour,
           std::uint8_t minute) {
  entry.SetDateStamp({day, month, year, hour, minute});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.mgt|OUTPUT.sad\n", argv[0]);
    return 2;
  }
  try {
    imagekit::ImageBuilder image;
    image.MasterDos("VELLONIX");

    // A BASIC program that runs itself from line 10.
    auto basic = image.PlaceSamFile(0, core::kTypeBasic, "loader", LoaderProgram());
    basic.SetByte(core::DirEntryField::ExecPage, 0);
    basic.SetWord(core::DirEntryField::ExecOffset, 10);
    Stamp(basic, 24, 12, 92, 18, 30);

    // Machine code with an execution address, and a protected copy.
    auto code = image.PlaceCodeFile(1, "game.bin", Pattern(20000, 2), 32768);
    Stamp(code, 1, 1, 100, 9, 5);
    auto library = image.PlaceCodeFile(2, "library", Pattern(3000, 3));
    library.SetStatusType(core::kTypeCode | core::kProtectedBit);

    // Code that begins with the signature of a paint program's screen code.
    std::vector<std::uint8_t> paint(core::CodeSignature.begin(), core::CodeSignature.end());
    paint.resize(6000, 0x55);
    image.PlaceCodeFile(3, "paint", paint);

    // A mode 4 screen, stamped in the packed form.
    auto screen = image.PlaceSamFile(4, core::kTypeScreen, "title.scr", TitlePicture());
    screen.SetByte(core::DirEntryField::ScreenMode, 3);
    Stamp(screen, 1, 0x88, 95, 0x61, 0xA3);

    // A deleted file: still named, no longer listed.
    image.PlaceFile(5, 0, "old.txt", Pattern(100, 5));

    // Spectrum files: BASIC with an autostart line and a hidden block of code.
    auto zxBasic = image.PlaceFile(6, 1, "zxloader", Pattern(400, 6));
    zxBasic.SetWord(core::DirEntryField::ZxAutostart, 1);
    zxBasic.SetWord(core::DirEntryField::ZxLength, 391);
    auto zxCode = image.PlaceFile(7, 4 | core::kHiddenBit, "zxcode", Pattern(6912, 7));
    zxCode.SetWord(core::DirEntryField::ZxStart, 16384);
    zxCode.SetWord(core::DirEntryField::ZxLength, 6912);

    // A file whose chain was cut short: listed with the corrupted mark.
    auto broken = image.PlaceCodeFile(8, "broken", Pattern(2000, 8));
    broken.SetSectorCount(broken.SectorCount() + 2);

    core::SaveImageFile(argv[1], image.Disk());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
