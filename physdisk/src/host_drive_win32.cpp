// Windows' first floppy drive: the BIOS requests through VWIN32, one device
// for the life of the drive; or a flux reader's drive, named as on Linux.
#include <windows.h>

#include <stdexcept>

#include "vellonix/physdisk/flux_reader.hpp"
#include "vellonix/physdisk/host_drive.hpp"
#include "vellonix/win32/wide_text.hpp"
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
  if (device && NamesFluxReader(*device)) return OpenFluxReader(*device);
  if (device) {
    throw std::invalid_argument(
        "on Windows the floppy is drive A:, reached through VWIN32, or a flux reader's drive (gw:A); no other device "
        "can be named");
  }
  return std::make_unique<HostVwin32Drive>();
}

// Only a flux reader's drive: drive A: needs no naming, and nothing else
// can stand in for it here.
std::optional<std::string> FloppyFromEnvironment() {
  const std::string_view variable = kFloppyVariable;
  const std::wstring name(variable.begin(), variable.end());
  std::wstring value(GetEnvironmentVariableW(name.c_str(), nullptr, 0), L'\0');
  const DWORD length = GetEnvironmentVariableW(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
  if (value.empty() || length >= value.size()) return std::nullopt;
  value.resize(length);
  const auto named = win32::Utf8FromWide(value);
  if (!named || !NamesFluxReader(*named)) return std::nullopt;
  return named;
}

std::string HostDriveName(const std::optional<std::string>& device) {
  return device && NamesFluxReader(*device) ? *device : "drive A:";
}

}  // namespace vellonix::physdisk
