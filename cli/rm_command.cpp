// rm: a file erased from an image, as Delete File does, without asking.
#include "commands.hpp"
#include "image_edit.hpp"
#include "vellonix/fileops/edit_entry.hpp"

namespace vellonix::cli {

namespace {

struct RmOptions {
  std::string Image;
  int FileNumber = 0;
};

int RunRm(const RmOptions& options) {
  ScannedImage scanned = LoadAndScan(options.Image, Access::Change);
  fileops::EraseFile(*scanned.Image.Disk, scanned.State, RowOfFileNumber(scanned.State, options.FileNumber));
  scanned.Save();
  return 0;
}

}  // namespace

Command AddRmCommand(CLI::App& app) {
  auto options = std::make_shared<RmOptions>();
  CLI::App* rm = app.add_subcommand("rm", "Erase a file from an image and save it in place");
  rm->add_option("IMAGE", options->Image, "The image to change: a .mgt or .sad file")->required();
  AddFileNumberArgument(*rm, options->FileNumber);
  return {rm, [options] { return RunRm(*options); }};
}

}  // namespace vellonix::cli
