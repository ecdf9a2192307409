// The real Win32 calls under a Windows of the NT family (or Wine, which
// reports one): VWIN32 is not there, so every request fails after its
// attempts and the device is never opened.
#include <gtest/gtest.h>

#include <array>

#include "vellonix/physdisk/host_drive.hpp"
#include "vellonix/physdisk/vwin32.hpp"

namespace vellonix::physdisk {
namespace {

TEST(HostVwin32, TheNtFamilyHasNoVwin32) {
  const auto api = HostVwin32Api();
  Vwin32 device(*api);
  EXPECT_NE(device.PlatformId(), kPlatformWin32Windows);
  Vwin32Disk disk(device);
  std::array<std::uint8_t, 10 * 512> track{};
  EXPECT_FALSE(disk.SetMediaType(1, 79, 10));
  EXPECT_FALSE(disk.ReadSectors(1, 0, 0, 1, 10, track));
  EXPECT_FALSE(disk.WriteSectors(1, 0, 0, 1, 1, track));
  EXPECT_FALSE(device.IsOpen());
  DIOC_REGISTERS unused;
  EXPECT_TRUE(device.CallVwin32(kVwin32CloseRequest, unused));
}

TEST(HostVwin32, TheFirstDriveIsDriveAAndNoDeviceCanBeNamed) {
  const auto drive = OpenHostDrive(std::nullopt);
  EXPECT_FALSE(drive->Acquire());
  EXPECT_NE(drive->LastError().find("VWIN32"), std::string::npos) << drive->LastError();
  EXPECT_EQ(HostDriveName(std::nullopt), "drive A:");
  EXPECT_EQ(FloppyFromEnvironment(), std::nullopt);
  EXPECT_THROW(OpenHostDrive(std::string("disk.mgt")), std::invalid_argument);
}

}  // namespace
}  // namespace vellonix::physdisk
