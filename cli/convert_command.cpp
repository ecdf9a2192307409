// convert: the same disk in the other container (or the same one again).
#include "commands.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/image_file.hpp"

namespace vellonix::cli {

namespace {

struct ConvertOptions {
  std::string Input;
  std::string Output;
  bool Force = false;
};

int RunConvert(const ConvertOptions& options) {
  RefuseToReplace(options.Output, options.Force);
  const LoadedImage image = [&] {
    const core::ImageLock reading(options.Input, core::ImageLock::Mode::Shared);
    return LoadImageOrFail(options.Input);
  }();  // the input's lock goes before the output's is taken: they may be one file
  core::SaveImageFileLocked(options.Output, *image.Disk);
  return 0;
}

}  // namespace

Command AddConvertCommand(CLI::App& app) {
  auto options = std::make_shared<ConvertOptions>();
  CLI::App* convert = app.add_subcommand("convert", "Save an image in the container its new name selects");
  AddForceFlag(*convert, options->Force, "OUTPUT");
  convert->add_option("INPUT", options->Input, "The image to read: an 819,200-byte .mgt or 819,222-byte .sad file")
      ->required();
  convert->add_option("OUTPUT", options->Output, "The file to write: MGT when it ends in .mgt (any case), SAD for .sad")
      ->required()
      ->check(ImageOutputName());
  return {convert, [options] { return RunConvert(*options); }};
}

}  // namespace vellonix::cli
