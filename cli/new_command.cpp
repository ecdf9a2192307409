// new: a blank SAM-DOS, MasterDOS or B-DOS disk, written as MGT or SAD by
// the file name's extension.
#include <map>

#include "commands.hpp"
#include "vellonix/core/directory.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/core/new_image.hpp"
#include "vellonix/core/text.hpp"

namespace vellonix::cli {

namespace {

struct NewOptions {
  int DosKind = core::kSamDos;
  std::string Name;
  std::string Image;
  bool Force = false;
};

int RunNew(const NewOptions& options) {
  const std::optional<std::string> name = core::Utf8ToLatin1(options.Name);
  if (!name) throw CommandError("The disk name holds a character that SAM disks cannot store");
  if (!name->empty() && !core::NewDiskTakesName(options.DosKind))
    throw CommandError("SAM-DOS disks have no name; choose --format masterdos or b-dos");
  const std::size_t limit = core::NewDiskNameLimit(options.DosKind);
  if (name->size() > limit)
    throw CommandError("The disk name is longer than " + std::to_string(limit) + " characters");

  RefuseToReplace(options.Image, options.Force);

  auto disk = std::make_unique<core::DiskImageBuffer>();
  core::MakeBlankDisk(*disk, options.DosKind, *name);
  core::SaveImageFileLocked(options.Image, *disk);
  return 0;
}

}  // namespace

Command AddNewCommand(CLI::App& app) {
  auto options = std::make_shared<NewOptions>();
  CLI::App* command = app.add_subcommand("new", "Write a blank disk image");
  const std::map<std::string, int> formats{
      {"sam-dos", core::kSamDos}, {"masterdos", core::kMasterDos}, {"b-dos", core::kBDos}};
  command->add_option("--format", options->DosKind, "Directory format: sam-dos (default), masterdos or b-dos")
      ->transform(CLI::CheckedTransformer(formats, CLI::ignore_case));
  command->add_option("--name", options->Name, "Disk name: up to 10 characters (MasterDOS) or 16 (B-DOS)");
  AddForceFlag(*command, options->Force, "IMAGE");
  command->add_option("IMAGE", options->Image, "The file to write: MGT when it ends in .mgt (any case), SAD for .sad")
      ->required()
      ->check(ImageOutputName());
  return {command, [options] { return RunNew(*options); }};
}

}  // namespace vellonix::cli
