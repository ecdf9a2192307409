// rm: a file erased from an image, as Delete File does, without asking.
#include "commands.hpp"
#include "image_edit.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/fileops/edit_entry.hpp"

namespace vellonix::cli {

namespace {

struct RmOptions {
  std::string Image;
  int FileNumber = 0;
};

int RunRm(const RmOptions& options) {
  ScannedImage scanned = LoadAndScan(options.Image);
  fileops::EraseFile(*scanned.Image.Disk, scanned.State, RowOfFileNumber(scanned.State, options.FileNumber));
  core::SaveImageFile(options.Image, *scanned.Image.Disk);
  return 0;
}

}  // namespace

Command AddRmCommand(CLI::App& app) {
  auto options = std::make_shared<RmOptions>();
  CLI::App* rm = app.add_subcommand("rm", "Erase a file from an image and save it in place");
  rm->add_option("IMAGE", options->Image, "The image to change: a .mgt or .sad file")->required();
  rm->add_option("FILE#", options->FileNumber, "The file's \"File #\" in the list (slot + 1)")->required();
  return {rm, [options] { return RunRm(*options); }};
}

}  // namespace vellonix::cli
