// extract: a file's data written to the host, as Extract File does.
#include <cstdio>

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
  const ScannedImage scanned = LoadAndScan(options.Image, Access::Read);
  const core::DiskImageBuffer& disk = *scanned.Image.Disk;
  const int row = RowOfFileNumber(scanned.State, options.FileNumber);
  const int slot = scanned.State.ListedSlots[static_cast<std::size_t>(row)];
  const OutputNamed named = options.Output.empty() ? OutputNamed::ByDefault : OutputNamed::ByUser;
  const std::string output =
      named == OutputNamed::ByDefault ? DefaultOutputName(disk, slot, options.FileNumber) : options.Output;
  const std::vector<std::uint8_t> bytes = fileops::ExtractFileBytes(disk, slot);
  WriteOutput(output, named, scanned.Path, bytes);
  // A broken chain gives fewer bytes than the entry promises: what there is
  // has been written, and the user must know it is not the whole file.
  const std::uint32_t length = fileops::ExtractLength(core::DirSlot(disk, slot));
  if (bytes.size() >= length) return 0;
  std::fprintf(stderr, "File # %d: only %zu of its %u bytes could be read; the chain of sectors ends early\n",
               options.FileNumber, bytes.size(), static_cast<unsigned>(length));
  return 1;
}

}  // namespace

Command AddExtractCommand(CLI::App& app) {
  auto options = std::make_shared<ExtractOptions>();
  CLI::App* extract = app.add_subcommand(
      "extract", "Write a file's data, without its 9-byte header, to a host file (an existing one is replaced, "
                 "but never the image itself); exit 1 when its chain of sectors gave fewer bytes than its entry "
                 "promises");
  extract->add_option("IMAGE", options->Image, "The image to read: a .mgt or .sad file")->required();
  AddFileNumberArgument(*extract, options->FileNumber);
  extract->add_option("OUTPUT", options->Output,
                      "The host file to write, or - for standard output; default: the file's name, here (a file "
                      "named - included)");
  return {extract, [options] { return RunExtract(*options); }};
}

}  // namespace vellonix::cli
