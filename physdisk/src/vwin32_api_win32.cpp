// The four Win32 calls of the VWIN32 bridge; everything around them is
// vwin32_bridge.cpp, which every host builds.
#include <windows.h>

#include "vellonix/physdisk/vwin32.hpp"

namespace vellonix::physdisk {

namespace {

class HostApi final : public Vwin32Api {
 public:
  std::uint32_t PlatformId() override {
    // A failed call leaves the zeroed record, whose platform 0 is no 9x.
    OSVERSIONINFOA OsVersion{};
    OsVersion.dwOSVersionInfoSize = sizeof OsVersion;  // 148
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&OsVersion);
#pragma GCC diagnostic pop
    return OsVersion.dwPlatformId;
  }

  Win32Handle CreateVwin32() override {
    const HANDLE device = CreateFileA("\\\\.\\VWIN32", 0, 0, nullptr, 0, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    return device == INVALID_HANDLE_VALUE ? kInvalidHandle : reinterpret_cast<Win32Handle>(device);
  }

  bool DeviceIoControl(Win32Handle device, std::uint32_t controlCode, DIOC_REGISTERS& record) override {
    DWORD returned = 0;  // not consulted
    return ::DeviceIoControl(reinterpret_cast<HANDLE>(device), controlCode, &record, sizeof record, &record,
                             sizeof record, &returned, nullptr) != 0;
  }

  void CloseHandle(Win32Handle device) override { ::CloseHandle(reinterpret_cast<HANDLE>(device)); }
};

static_assert(sizeof(OSVERSIONINFOA) == 148);

}  // namespace

std::unique_ptr<Vwin32Api> HostVwin32Api() { return std::make_unique<HostApi>(); }

}  // namespace vellonix::physdisk
