// screen: a SCREEN$ file as a PNG picture.
#include <cstdio>

#include "commands.hpp"
#include "image_edit.hpp"
#include "png_file.hpp"
#include "vellonix/core/list_row.hpp"
#include "vellonix/fileops/extract_file.hpp"
#include "vellonix/formats/screen.hpp"

namespace vellonix::cli {

namespace {

struct ScreenOptions {
  std::string Image;
  int FileNumber = 0;
  std::string Output;
  bool Native = false;
};

int RunScreen(const ScreenOptions& options) {
  const ScannedImage scanned = LoadAndScan(options.Image, Access::Read);
  const core::DiskImageBuffer& disk = *scanned.Image.Disk;
  const int slot = SlotOfFileOfType(scanned, options.FileNumber, core::kTypeScreen, "a SCREEN$ picture");
  const auto result = formats::DecodeScreen(fileops::ExtractFileBytes(disk, slot), core::DirSlot(disk, slot).ScreenMode());
  if (!result.Error.empty()) {
    throw CommandError("File # " + std::to_string(options.FileNumber) + " is no picture: " + result.Error);
  }
  const formats::ScreenPicture& picture = result.Picture;
  const auto png = EncodePng(options.Native ? picture.Image : formats::ScaleToCanvas(picture.Image));
  WriteOutput(options.Output, OutputNamed::ByUser, scanned.Path, png);
  if (const std::string note = formats::DescribePalette(picture); !note.empty()) {
    std::fprintf(stderr, "File # %d %s\n", options.FileNumber, note.c_str());
  }
  return 0;
}

}  // namespace

Command AddScreenCommand(CLI::App& app) {
  auto options = std::make_shared<ScreenOptions>();
  CLI::App* screen = app.add_subcommand(
      "screen", "Write a SCREEN$ file (type 20) as a PNG picture, in its mode's colours and palette changes; "
                "512 x 384 pixels, which shows every mode undistorted");
  screen->add_option("IMAGE", options->Image, "The image to read: a .mgt or .sad file")->required();
  AddFileNumberArgument(*screen, options->FileNumber);
  screen
      ->add_option("OUT.png", options->Output,
                   "The PNG file to write (an existing one is replaced, but never the image itself), or -")
      ->required();
  screen->add_flag("--native", options->Native,
                   "The mode's own size instead: 256 x 192, or 512 x 192 in MODE 3 (its pixels are half as wide)");
  return {screen, [options] { return RunScreen(*options); }};
}

}  // namespace vellonix::cli
