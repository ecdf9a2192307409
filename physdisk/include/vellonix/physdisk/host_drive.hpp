// The first floppy drive of this host, as the program and vellonix-cli
// reach it: on Windows drive A: through VWIN32; on Linux the kernel's
// floppy driver, or a device or image file that stands in for the drive.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "vellonix/physdisk/bios_disk.hpp"

namespace vellonix::physdisk {

// Names the drive (a device or an image file) in place of the host's own.
inline constexpr const char* kFloppyVariable = "VELLONIX_FLOPPY";

// The device kFloppyVariable names, when it is set and not empty. On
// Windows, which reaches drive A: by itself, only a flux reader's drive
// ("gw:A") is taken from it.
std::optional<std::string> FloppyFromEnvironment();

// The drive at `device`, or the host's first floppy drive. Opens nothing
// yet. Linux takes a floppy device, a block device of exactly one SAM disk
// (819,200 bytes, such as a loop device over an image) or an MGT-ordered
// image file of that size, and refuses anything else before it reads or
// writes a byte. Windows reaches drive A: only, and throws
// std::invalid_argument for a device. On both, "gw:A" is a flux reader's
// drive (flux_reader.hpp).
std::unique_ptr<BiosDisk> OpenHostDrive(const std::optional<std::string>& device);

// How messages name that drive ("/dev/fd0", "drive A:", or the device).
std::string HostDriveName(const std::optional<std::string>& device);

}  // namespace vellonix::physdisk
