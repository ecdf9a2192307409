// import: a disk image as another tool wrote it, saved as MGT or SAD.
#include <cstdio>
#include <memory>

#include "commands.hpp"
#include "terminal_text.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/formats/disk_import_file.hpp"

namespace vellonix::cli {

namespace {

struct ImportOptions {
  std::string Input;
  std::string Output;
  bool Force = false;
};

int RunImport(const ImportOptions& options) {
  RefuseToReplace(options.Output, options.Force);
  auto disk = std::make_unique<core::DiskImageBuffer>();
  const formats::ImportedFile imported = formats::ImportDiskImageFile(options.Input, *disk);
  if (!imported.Error.empty()) throw CommandError("cannot import: " + imported.Error);

  const formats::ImportResult& result = imported.Result;
  for (const formats::SectorProblem& problem : result.Problems) {
    std::fprintf(stderr, "%s\n", formats::DescribeProblem(problem).c_str());
  }
  for (const std::string& note : result.Notes) std::fprintf(stderr, "%s\n", note.c_str());
  core::SaveImageFileLocked(options.Output, *disk);
  if (result.Problems.empty()) return 0;
  std::fprintf(stderr, "%s: %s\n", HostTextForTerminal(options.Output).c_str(),
               formats::DescribeImportDamage(imported).c_str());
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
