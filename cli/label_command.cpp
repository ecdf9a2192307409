// label: the disk name, as Change diskname writes it.
#include "commands.hpp"
#include "image_edit.hpp"
#include "terminal_text.hpp"
#include "vellonix/core/list_row.hpp"
#include "vellonix/fileops/edit_entry.hpp"

namespace vellonix::cli {

namespace {

struct LabelOptions {
  std::string Image;
  std::string Name;
};

int RunLabel(const LabelOptions& options) {
  ScannedImage scanned = LoadAndScan(options.Image, Access::Change);
  const std::string name = SamBytesOrFail(options.Name, "NAME");
  CheckNameLength(name, static_cast<std::size_t>(fileops::DiskNameMaxLength(scanned.State)), "NAME");
  if (const auto refusal = fileops::ChangeDiskName(*scanned.Image.Disk, scanned.State, name)) {
    throw CommandError(std::string(refusal->Message) + ": " + ForTerminal(core::FileSummary(*scanned.Image.Disk, 0)).Utf8 +
                       "; the disk keeps its name");
  }
  scanned.Save();
  return 0;
}

}  // namespace

Command AddLabelCommand(CLI::App& app) {
  auto options = std::make_shared<LabelOptions>();
  CLI::App* label = app.add_subcommand(
      "label", "Change the disk name and save the image in place; a SAM-DOS disk becomes MasterDOS");
  label->add_option("IMAGE", options->Image, "The image to change: a .mgt or .sad file")->required();
  label->add_option("NAME", options->Name, "Up to 10 characters (16 on B-DOS), padded with spaces")->required();
  return {label, [options] { return RunLabel(*options); }};
}

}  // namespace vellonix::cli
