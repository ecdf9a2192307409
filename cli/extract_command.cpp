// extract: a file's data written to the host, as Extract File does.
#include "commands.hpp"
#include "image_edit.hpp"
#include "vellonix/fileops/extract_file.hpp"

namespace vellonix::cli {

namespace {

struct ExtractOptions {
  std::string Image;
  int FileNumber = 0;
  std::string Output;
};

// The name the file is offered under, in the current folder.
std::string DefaultOutputName(const core::DiskImageBuffer& disk, int slot, int fileNumber) {
  std::string name = fileops::HostFileNameFor(disk, slot);
  if (name.empty() || name == "." || name == "..") {
    throw CommandError("File # " + std::to_string(fileNumber) + " has no name to write it under: give OUTPUT");
  }
  return name;
}

int RunExtract(const ExtractOptions& options) {
  const ScannedImage scanned = LoadAndScan(options.Image);
  const int row = RowOfFileNumber(scanned.State, options.FileNumber);
  const int slot = scanned.State.ListedSlots[static_cast<std::size_t>(row)];
  const std::string output =
      options.Output.empty() ? DefaultOutputName(*scanned.Image.Disk, slot, options.FileNumber) : options.Output;
  fileops::ExtractFileTo(*scanned.Image.Disk, slot, output);
  return 0;
}

}  // namespace

Command AddExtractCommand(CLI::App& app) {
  auto options = std::make_shared<ExtractOptions>();
  CLI::App* extract = app.add_subcommand(
      "extract", "Write a file's data, without its 9-byte header, to a host file (an existing one is replaced)");
  extract->add_option("IMAGE", options->Image, "The image to read: a .mgt or .sad file")->required();
  extract->add_option("FILE#", options->FileNumber, "The file's \"File #\" in the list (slot + 1)")->required();
  extract->add_option("OUTPUT", options->Output, "The host file to write; default: the file's name, here");
  return {extract, [options] { return RunExtract(*options); }};
}

}  // namespace vellonix::cli
