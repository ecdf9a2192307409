// The flux reader's drive: `gw read` or `gw write` with the SAM format on
// an MGT file in a private folder, its per-track lines shown as the
// transfer's progress, and its summary, not its exit status, taken as the
// verdict. Single sectors cannot be reached this way.
#include <algorithm>
#include <cctype>
#include <exception>
#include <vector>

#include "flux_command.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/physdisk/flux_reader.hpp"
#include "vellonix/physdisk/samdisk.hpp"

namespace vellonix::physdisk {

namespace {

constexpr const char* kCommand = "gw";
constexpr const char* kImageName = "disk.mgt";

std::string Utf8(const std::filesystem::path& path) {
  const auto text = path.u8string();
  return {text.begin(), text.end()};
}

FailedRequest WholeTrackSide(int trackSide) {
  return {trackSide / core::kSides, trackSide % core::kSides, 1, core::kSectorsPerTrack};
}

// The MGT file the command left, when it left one of a whole disk.
std::unique_ptr<core::DiskImageBuffer> ImageLeft(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::file_size(path, error) != core::kMgtFileSize || error) return nullptr;
  std::vector<std::uint8_t> bytes(core::kMgtFileSize);
  core::HostInputFile(Utf8(path)).ReadExactly(bytes);
  auto disk = std::make_unique<core::DiskImageBuffer>();
  core::DecodeContainer(core::ContainerKind::Mgt, bytes, *disk);
  return disk;
}

class FluxReaderDrive final : public BiosDisk, public WholeDiskDrive {
 public:
  explicit FluxReaderDrive(std::string_view device) : device_(device), unit_(FluxReaderUnit(device)) {}

  // The command sets the geometry from the format name.
  bool SetMediaType(std::uint8_t, std::uint8_t, std::uint8_t) override { return true; }
  bool ReadSectors(std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t,
                   std::span<std::uint8_t>) override {
    return Fail("the flux reader reads whole disks only");
  }
  bool WriteSectors(std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t,
                    std::span<const std::uint8_t>) override {
    return Fail("the flux reader writes whole disks only");
  }
  std::string LastError() const override { return lastError_; }
  bool Acquire() override;
  WholeDiskDrive* WholeDisk() override { return this; }

  TransferResult LoadWhole(core::DiskImageBuffer& disk, TransferProgress& progress) override;
  TransferResult SaveWhole(const core::DiskImageBuffer& disk, TransferProgress& progress) override;

 private:
  bool Fail(const std::string& text) {
    lastError_ = device_ + ": " + text;
    return false;
  }
  // Runs the command on `image`, the window stepped as the command gets
  // past each track, and judges what it printed.
  FluxReaderLog::Outcome Run(FluxReaderLog::Command command, const std::filesystem::path& image,
                             TransferProgress& progress);

  std::string device_;
  std::optional<std::string> unit_;
  std::optional<std::filesystem::path> program_;
  std::string lastError_;
};

bool FluxReaderDrive::Acquire() {
  if (!unit_) return Fail("the flux reader's drive is A or B, or a unit 0 to 3 (as in gw:A)");
  if (!program_) program_ = detail::FindOnPath(kCommand);
  if (!program_) {
    return Fail(
        "the flux reader's gw command was not found on the PATH; install the flux reader's "
        "command-line tools, which provide gw, and make sure gw can be run from a terminal");
  }
  return true;
}

FluxReaderLog::Outcome FluxReaderDrive::Run(FluxReaderLog::Command command, const std::filesystem::path& image,
                                            TransferProgress& progress) {
  FluxReaderLog log(command);
  int stepped = 0;
  const auto stepTo = [&](int tracks) {
    for (; stepped < tracks; ++stepped) progress.Step();
  };
  const std::vector<std::string> args{command == FluxReaderLog::Command::Read ? "read" : "write", "--drive=" + *unit_,
                                      std::string("--format=") + kFluxReaderFormat, Utf8(image)};
  const int status = detail::RunForLines(*program_, args, [&](std::string_view line) {
    log.Add(line);
    stepTo(log.TracksDone());
  });
  FluxReaderLog::Outcome outcome = log.Judge(status);
  if (outcome.Succeeded) stepTo(core::kTracksPerSide);
  return outcome;
}

TransferResult FluxReaderDrive::LoadWhole(core::DiskImageBuffer& disk, TransferProgress& progress) {
  if (!Acquire()) return WholeTrackSide(0);
  try {
    const detail::PrivateFolder folder;
    const std::filesystem::path image = folder.Path() / kImageName;
    FluxReaderLog::Outcome outcome = Run(FluxReaderLog::Command::Read, image, progress);
    const auto read = ImageLeft(image);
    if (outcome.Succeeded && !read) outcome = {false, 0, "it left no image of a whole disk"};
    // As with a drive read sector by sector: the track sides before the
    // failure are in the disk, the rest of it is as it was.
    const int complete = outcome.Succeeded ? kTrackSides : outcome.FailedTrackSide;
    for (int trackSide = 0; read && trackSide < complete; ++trackSide) {
      const std::size_t at = core::MgtBlockBufferOffset(trackSide);
      std::copy_n(read->begin() + static_cast<std::ptrdiff_t>(at), core::kBytesPerTrack,
                  disk.begin() + static_cast<std::ptrdiff_t>(at));
    }
    if (outcome.Succeeded) return std::nullopt;
    Fail("gw read: " + outcome.Cause);
    return WholeTrackSide(outcome.FailedTrackSide);
  } catch (const std::exception& error) {
    Fail(std::string("gw read: ") + error.what());
    return WholeTrackSide(0);
  }
}

TransferResult FluxReaderDrive::SaveWhole(const core::DiskImageBuffer& disk, TransferProgress& progress) {
  if (!Acquire()) return WholeTrackSide(0);
  try {
    const detail::PrivateFolder folder;
    const std::filesystem::path image = folder.Path() / kImageName;
    core::SaveImageFile(Utf8(image), disk);
    const FluxReaderLog::Outcome outcome = Run(FluxReaderLog::Command::Write, image, progress);
    if (outcome.Succeeded) return std::nullopt;
    Fail("gw write: " + outcome.Cause);
    return WholeTrackSide(outcome.FailedTrackSide);
  } catch (const std::exception& error) {
    Fail(std::string("gw write: ") + error.what());
    return WholeTrackSide(0);
  }
}

}  // namespace

bool NamesFluxReader(std::string_view device) {
  return device.substr(0, kFluxReaderPrefix.size()) == kFluxReaderPrefix;
}

std::optional<std::string> FluxReaderUnit(std::string_view device) {
  if (!NamesFluxReader(device) || device.size() != kFluxReaderPrefix.size() + 1) return std::nullopt;
  const char unit = static_cast<char>(std::toupper(static_cast<unsigned char>(device.back())));
  if (unit == 'A' || unit == 'B' || (unit >= '0' && unit <= '3')) return std::string(1, unit);
  return std::nullopt;
}

std::unique_ptr<BiosDisk> OpenFluxReader(std::string_view device) { return std::make_unique<FluxReaderDrive>(device); }

}  // namespace vellonix::physdisk
