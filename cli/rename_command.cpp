// rename: a file's new name, as Rename File writes it.
#include "commands.hpp"
#include "image_edit.hpp"
#include "vellonix/fileops/edit_entry.hpp"

namespace vellonix::cli {

namespace {

struct RenameOptions {
  std::string Image;
  int FileNumber = 0;
  std::string Name;
};

int RunRename(const RenameOptions& options) {
  ScannedImage scanned = LoadAndScan(options.Image, Access::Change);
  const int row = RowOfFileNumber(scanned.State, options.FileNumber);
  const std::string name = fileops::TrimName(SamBytesOrFail(options.Name, "NAME"));
  CheckNameLength(name, fileops::kFileNameMaxLength, "NAME");
  fileops::RenameFile(*scanned.Image.Disk, scanned.State.ListedSlots[static_cast<std::size_t>(row)], name);
  scanned.Save();
  return 0;
}

}  // namespace

Command AddRenameCommand(CLI::App& app) {
  auto options = std::make_shared<RenameOptions>();
  CLI::App* rename = app.add_subcommand("rename", "Give a file a new name and save the image in place");
  rename->add_option("IMAGE", options->Image, "The image to change: a .mgt or .sad file")->required();
  AddFileNumberArgument(*rename, options->FileNumber);
  rename->add_option("NAME", options->Name, "Up to 10 characters, blanks at either end dropped; padded with spaces")
      ->required();
  return {rename, [options] { return RunRename(*options); }};
}

}  // namespace vellonix::cli
