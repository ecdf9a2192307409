// ls: the file list and status bar of an image.
#include "commands.hpp"
#include "listing_output.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/listing.hpp"

namespace vellonix::cli {

namespace {

struct LsOptions {
  std::string Image;
  bool Json = false;
};

int RunLs(const LsOptions& options) {
  const core::ImageLock lock(options.Image, core::ImageLock::Mode::Shared);
  const LoadedImage image = LoadImageOrFail(options.Image);
  const core::DirectoryListing listing = core::ListDirectory(*image.Disk);
  WriteStdout(options.Json ? DumpJson(ListingJson(listing, image.Container)) + '\n' : ListingTable(listing));
  return 0;
}

}  // namespace

Command AddLsCommand(CLI::App& app) {
  auto options = std::make_shared<LsOptions>();
  CLI::App* ls = app.add_subcommand("ls", "List the files and the disk summary of an image");
  ls->add_flag("--json", options->Json, "Print one JSON object instead of a table");
  ls->add_option("IMAGE", options->Image, "The image to list: an 819,200-byte .mgt or 819,222-byte .sad file")
      ->required();
  return {ls, [options] { return RunLs(*options); }};
}

}  // namespace vellonix::cli
