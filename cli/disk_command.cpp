// disk read and disk write: a whole SAM floppy copied into an image file,
// or an image written onto a floppy, through the same drive and transfers
// as the program's SAM disk menu; a failure also says where and why.
#include <algorithm>
#include <cstdio>

#include "commands.hpp"
#include "host_console.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/physdisk/host_drive.hpp"
#include "vellonix/physdisk/samdisk.hpp"

namespace vellonix::cli {

namespace {

constexpr const char* kLoadError = "Disk Loading Error";
constexpr const char* kWriteError = "Disk write Error";

struct DiskOptions {
  std::string Device;  // empty: VELLONIX_FLOPPY, else the host's first drive
  std::string Image;
  bool Force = false;  // read: replace an existing IMAGE
};

// "Loading SAM disk ... track n of 80", rewritten in place on standard
// error while it is a terminal; nothing otherwise.
class TerminalProgress final : public physdisk::TransferProgress {
 public:
  void Show(const std::string& caption) override {
    caption_ = caption;
    track_ = 1;
    Print();
  }
  void Step() override {
    track_ = std::min(track_ + 1, core::kTracksPerSide);
    Print();
  }
  void Hide() override {
    if (shown_ && width_ > 0) std::fprintf(stderr, "\r%*s\r", width_, "");
  }

 private:
  void Print() {
    if (!shown_) return;
    width_ = std::fprintf(stderr, "\r%s track %d of %d", caption_.c_str(), track_, core::kTracksPerSide) - 1;
    std::fflush(stderr);
  }

  const bool shown_ = StandardErrorIsTerminal();
  std::string caption_;
  int track_ = 1;
  int width_ = 0;
};

// The drive, opened before anything is read or written, so that a missing,
// inaccessible or refused device is told as such.
std::unique_ptr<physdisk::BiosDisk> OpenDrive(const DiskOptions& options, const char* message) {
  const std::optional<std::string> device =
      options.Device.empty() ? physdisk::FloppyFromEnvironment() : std::optional<std::string>(options.Device);
  auto drive = physdisk::OpenHostDrive(device);
  if (!drive->Acquire()) throw CommandError(std::string(message) + ": " + drive->LastError());
  return drive;
}

[[noreturn]] void Fail(const char* message, const physdisk::FailedRequest& failed, const physdisk::BiosDisk& drive) {
  throw CommandError(std::string(message) + ": " + physdisk::DescribeFailure(failed, drive));
}

int RunRead(const DiskOptions& options) {
  RefuseToReplace(options.Image, options.Force);
  const auto drive = OpenDrive(options, kLoadError);
  auto disk = std::make_unique<core::DiskImageBuffer>();
  TerminalProgress progress;
  // A failed read writes no image at all.
  if (const auto failed = physdisk::LoadSamDisk(*drive, *disk, progress)) Fail(kLoadError, *failed, *drive);
  core::SaveImageFileLocked(options.Image, *disk);
  return 0;
}

int RunWrite(const DiskOptions& options) {
  const LoadedImage image = [&] {
    const core::ImageLock reading(options.Image, core::ImageLock::Mode::Shared);
    return LoadImageOrFail(options.Image);
  }();
  const auto drive = OpenDrive(options, kWriteError);
  TerminalProgress progress;
  if (const auto failed = physdisk::SaveSamDisk(*drive, *image.Disk, progress)) Fail(kWriteError, *failed, *drive);
  return 0;
}

}  // namespace

Command AddDiskCommand(CLI::App& app) {
  auto options = std::make_shared<DiskOptions>();
  CLI::App* disk = app.add_subcommand("disk", "Copy a real SAM floppy into an image, or an image onto a floppy");
  disk->require_subcommand(1);
  CLI::App* read = disk->add_subcommand("read", "Copy the floppy into IMAGE, all 160 track sides");
  CLI::App* write = disk->add_subcommand("write", "Write IMAGE onto the floppy, all 1,600 sectors");
  for (CLI::App* command : {read, write}) {
    command->add_option("--device", options->Device,
                        "The drive: a floppy device, a block device or MGT-ordered file of 819,200 bytes "
                        "standing in for one, or gw:A for a flux reader's drive A through its gw command "
                        "(default: $VELLONIX_FLOPPY, else /dev/fd0; on Windows drive A:)");
  }
  AddForceFlag(*read, options->Force, "IMAGE");
  read->add_option("IMAGE", options->Image, "The file to write: MGT when it ends in .mgt (any case), SAD for .sad")
      ->required()
      ->check(ImageOutputName());
  write->add_option("IMAGE", options->Image, "The image to write: an 819,200-byte .mgt or 819,222-byte .sad file")
      ->required();
  return {disk, [options, read] { return read->parsed() ? RunRead(*options) : RunWrite(*options); }};
}

}  // namespace vellonix::cli
