// Writes the bundled sample image: a small MasterDOS disk with one file of
// each kind the file list decodes specially.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "image_builder.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/core/list_row.hpp"

using namespace vellonix;

namespace {

// The sample's own data pattern, kept so that the sample stays as it was.
std::vector<std::uint8_t> Pattern(std::size_t size, unsigned seed) { return imagekit::Pattern(size, seed, 31); }

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
    auto basic = image.PlaceFile(0, core::kTypeBasic, "loader", imagekit::SamFileBody(16, Pattern(1200, 1)));
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
    auto screen = image.PlaceFile(4, core::kTypeScreen, "title.scr", imagekit::SamFileBody(20, Pattern(24617, 4)));
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
