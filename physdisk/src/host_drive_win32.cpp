// Windows' first floppy drive: the BIOS requests through VWIN32, one device
// for the life of the drive. No Win32 calls of its own.
#include <stdexcept>

#include "vellonix/physdisk/host_drive.hpp"
#include "vellonix/physdisk/vwin32.hpp"

namespace vellonix::physdisk {

namespace {

class HostVwin32Drive final : public BiosDisk {
 public:
  bool SetMediaType(std::uint8_t drive, std::uint8_t lastTrack, std::uint8_t sectorsPerTrack) override {
    return requests_.SetMediaType(drive, lastTrack, sectorsPerTrack);
  }
  bool ReadSectors(std::uint8_t drive, std::uint8_t track, std::uint8_t side, std::uint8_t firstSector,
                   std::uint8_t count, std::span<std::uint8_t> buffer) override {
    return requests_.ReadSectors(drive, track, side, firstSector, count, buffer);
  }
  bool WriteSectors(std::uint8_t drive, std::uint8_t track, std::uint8_t side, std::uint8_t firstSector,
                    std::uint8_t count, std::span<const std::uint8_t> buffer) override {
    return requests_.WriteSectors(drive, track, side, firstSector, count, buffer);
  }
  std::string LastError() const override { return requests_.LastError(); }
  bool Acquire() override { return requests_.Acquire(); }

 private:
  std::unique_ptr<Vwin32Api> api_ = HostVwin32Api();
  Vwin32 device_{*api_};  // reads the platform now, closes the device last
  Vwin32Disk requests_{device_};
};

}  // namespace

std::unique_ptr<BiosDisk> OpenHostDrive(const std::optional<std::string>& device) {
  if (device) throw std::invalid_argument("on Windows the floppy is drive A:, reached through VWIN32; no device can be named");
  return std::make_unique<HostVwin32Drive>();
}

std::optional<std::string> FloppyFromEnvironment() { return std::nullopt; }

std::string HostDriveName(const std::optional<std::string>&) { return "drive A:"; }

}  // namespace vellonix::physdisk
