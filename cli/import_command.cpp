// import: a disk image as another tool wrote it, saved as MGT or SAD.
#include <cstdio>
#include <utility>

#include "commands.hpp"
#include "terminal_text.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/formats/disk_import.hpp"
#include "vellonix/formats/gzip_data.hpp"

namespace vellonix::cli {

namespace {

// Far above any image of a SAM disk (an EDSK with every sector stored
// several times stays below it), so more is refused unread.
constexpr std::size_t kLargestInput = 16 * 1024 * 1024;

struct ImportOptions {
  std::string Input;
  std::string Output;
  bool Force = false;
};

std::vector<std::uint8_t> ReadInput(const std::string& path) {
  // As the loader: a FIFO, a device or a folder is refused before it is opened.
  const core::HostFileKind kind = core::KindOfHostFile(path);
  if (kind != core::HostFileKind::Regular && kind != core::HostFileKind::Missing) {
    throw CommandError(HostTextForTerminal(path) + " is no file");
  }
  // Our own images are read under their lock, as convert reads them.
  const core::ImageLock lock(path, core::ImageLock::Mode::Shared);
  core::HostInputFile file(path);
  if (file.Size() > kLargestInput) throw CommandError(HostTextForTerminal(path) + " is too large to be a disk image");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.Size()));
  file.ReadExactly(bytes);
  return bytes;
}

int RunImport(const ImportOptions& options) {
  RefuseToReplace(options.Output, options.Force);
  std::vector<std::uint8_t> bytes = ReadInput(options.Input);
  const bool packed = formats::IsGzip(bytes);
  if (packed) {
    formats::GunzipResult unpacked = formats::Gunzip(bytes, kLargestInput);
    if (!unpacked.Error.empty()) throw CommandError(unpacked.Error);
    bytes = std::move(unpacked.Bytes);
  }

  auto disk = std::make_unique<core::DiskImageBuffer>();
  formats::ImportResult result = formats::ImportDiskImage(bytes, options.Input, *disk);
  const std::string what = packed ? "gzip-compressed " : "";
  if (!result.Imported) throw CommandError(std::string("cannot import: ") + (packed ? "gzip-compressed data holding " : "") + result.Error);

  for (const formats::SectorProblem& problem : result.Problems) {
    std::fprintf(stderr, "%s\n", formats::DescribeProblem(problem).c_str());
  }
  for (const std::string& note : result.Notes) std::fprintf(stderr, "%s\n", note.c_str());
  core::SaveImageFileLocked(options.Output, *disk);
  if (result.Problems.empty()) return 0;
  std::fprintf(stderr, "%s: %zu of the disk's 1600 sectors are missing or damaged in the %s%s\n",
               HostTextForTerminal(options.Output).c_str(), result.Problems.size(), what.c_str(), result.Kind.c_str());
  return 1;
}

}  // namespace

Command AddImportCommand(CLI::App& app) {
  auto options = std::make_shared<ImportOptions>();
  CLI::App* import = app.add_subcommand(
      "import", "Read a disk image as other tools write it (MGT, SAD, a raw 819,200-byte image in MGT order under "
                "any name, EDSK or DSK of 80 x 2 x 10 x 512, any of them gzip-compressed) and save it as OUTPUT; "
                "missing and damaged sectors are reported (damaged ones kept as stored, missing ones zero-filled) "
                "and make the exit status 1");
  AddForceFlag(*import, options->Force, "OUTPUT");
  import->add_option("INPUT", options->Input, "The image to read")->required();
  import->add_option("OUTPUT", options->Output, "The image to write: MGT when it ends in .mgt (any case), SAD for .sad")
      ->required()
      ->check(ImageOutputName());
  return {import, [options] { return RunImport(*options); }};
}

}  // namespace vellonix::cli
