// ls: the file list and status bar of one image or of many.
#include "commands.hpp"
#include "image_reader.hpp"
#include "listing_output.hpp"
#include "terminal_text.hpp"

namespace vellonix::cli {

namespace {

struct LsOptions {
  std::vector<std::string> Images;
  bool Json = false;
};

std::string ListingText(const LsOptions& options, const ImageListing& image) {
  return options.Json ? ListingJson(image.Listing, image.Container) + '\n' : ListingTable(image.Listing);
}

int RunLs(const LsOptions& options) {
  ImageReader reader;
  if (options.Images.size() == 1) {
    // One image: the listing alone, and a refusal ends the command.
    WriteStdout(ListingText(options, reader.List(options.Images.front())));
    return 0;
  }
  bool first = true;
  const bool allListed = ForEachImage(reader, options.Images, [&](const std::string& path, const ImageListing& image) {
    if (options.Json) {
      WriteStdout(ListingJson(image.Listing, image.Container, PathJson(path)) + '\n');
    } else {
      WriteStdout((first ? "" : "\n") + HostTextForTerminal(path) + ":\n" + ListingTable(image.Listing));
    }
    first = false;
  });
  return allListed ? 0 : 1;
}

}  // namespace

Command AddLsCommand(CLI::App& app) {
  auto options = std::make_shared<LsOptions>();
  CLI::App* ls = app.add_subcommand(
      "ls", "List the files and the disk summary of images; several are listed one after the other, each under "
            "its path, and one that is refused is reported and skipped (exit 1 at the end)");
  ls->add_flag("--json", options->Json,
               "Print one JSON object per image, one a line (with \"path\" when several are listed)");
  ls->add_option("IMAGE", options->Images, "The images to list: 819,200-byte .mgt or 819,222-byte .sad files")
      ->required();
  return {ls, [options] { return RunLs(*options); }};
}

}  // namespace vellonix::cli
