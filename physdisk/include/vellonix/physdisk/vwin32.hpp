// The Windows 9x route to a floppy: BIOS INT 13h disk services handed to
// the VWIN32 device. Only the four Win32 calls behind Vwin32Api are
// Windows code; opening, closing, filling the registers, the attempts and
// judging the BIOS's answer are plain logic that runs on every host.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "vellonix/physdisk/bios_disk.hpp"

namespace vellonix::physdisk {

// VWIN32's register record, in the layout Windows 9x publishes: 28 bytes.
// The BIOS's registers come back in the same record.
struct DIOC_REGISTERS {
  std::uint32_t reg_EBX = 0;
  std::uint32_t reg_EDX = 0;
  std::uint32_t reg_ECX = 0;
  std::uint32_t reg_EAX = 0;
  std::uint32_t reg_EDI = 0;
  std::uint32_t reg_ESI = 0;
  std::uint32_t reg_Flags = 0;
};
static_assert(sizeof(DIOC_REGISTERS) == 28);

inline constexpr std::uint32_t VWIN32_DIOC_DOS_INT13 = 4;  // a BIOS INT 13h request
inline constexpr std::uint32_t kVwin32CloseRequest = 0;    // sends nothing: closes the device
inline constexpr std::uint32_t kPlatformWin32Windows = 1;  // VER_PLATFORM_WIN32_WINDOWS: 95, 98, ME
inline constexpr std::uint32_t kCarryFlag = 1;              // bit 0 of reg_Flags

// A Win32 handle as the bridge keeps it; kInvalidHandle is
// INVALID_HANDLE_VALUE (all bits set).
using Win32Handle = std::uintptr_t;
inline constexpr Win32Handle kInvalidHandle = ~Win32Handle{0};

// The BIOS reads into and writes from the caller's memory at a flat 32-bit
// address. VWIN32 exists only on 32-bit Windows 9x, so a 64-bit build can
// never reach it (its platform test fails first); there the register is
// left 0 rather than holding a truncated address of someone else's memory.
inline std::uint32_t FlatAddress(const void* buffer) {
  if constexpr (sizeof(std::uintptr_t) == sizeof(std::uint32_t)) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(buffer));
  } else {
    return 0;
  }
}

// The four Win32 calls the bridge makes. vwin32_api_win32.cpp makes them
// for real; tests answer them.
class Vwin32Api {
 public:
  virtual ~Vwin32Api() = default;
  // GetVersionExA's dwPlatformId, or 0 when the call fails.
  virtual std::uint32_t PlatformId() = 0;
  // CreateFileA on the VWIN32 device; kInvalidHandle when it fails.
  virtual Win32Handle CreateVwin32() = 0;
  // DeviceIoControl with `record` as input and output buffer of 28 bytes
  // each; true when it went through. The byte count it returns means
  // nothing to the BIOS requests and does not cross this seam.
  virtual bool DeviceIoControl(Win32Handle device, std::uint32_t controlCode, DIOC_REGISTERS& record) = 0;
  virtual void CloseHandle(Win32Handle device) = 0;
};

// The Windows calls themselves (Windows builds only).
std::unique_ptr<Vwin32Api> HostVwin32Api();

// What the BIOS requests need of the device: opening it, and handing it one
// register record.
class Vwin32Channel {
 public:
  virtual ~Vwin32Channel() = default;
  // True when the device is open.
  virtual bool OpenVwin32() = 0;
  // True when the request went through (for kVwin32CloseRequest: the device
  // is closed).
  virtual bool CallVwin32(std::uint32_t controlCode, DIOC_REGISTERS& record) = 0;
};

// The device: the platform is read once, when this is made; the first
// request opens the device, which then stays open until this goes.
class Vwin32 final : public Vwin32Channel {
 public:
  explicit Vwin32(Vwin32Api& api);
  Vwin32(const Vwin32&) = delete;
  Vwin32& operator=(const Vwin32&) = delete;
  ~Vwin32() override;

  bool OpenVwin32() override;
  bool CallVwin32(std::uint32_t controlCode, DIOC_REGISTERS& record) override;

  std::uint32_t PlatformId() const { return platformId_; }
  bool IsOpen() const { return Vwin32Handle != kInvalidHandle; }

 private:
  Vwin32Api& api_;
  std::uint32_t platformId_;  // OsVersion.dwPlatformId
  Win32Handle Vwin32Handle = kInvalidHandle;
};

// The three BIOS requests, each filled into the register record anew for up
// to RetryCount attempts and judged by what the BIOS returned.
class Vwin32Disk final : public BiosDisk {
 public:
  explicit Vwin32Disk(Vwin32Channel& channel) : channel_(channel) {}

  bool SetMediaType(std::uint8_t drive, std::uint8_t lastTrack, std::uint8_t sectorsPerTrack) override;
  bool ReadSectors(std::uint8_t drive, std::uint8_t track, std::uint8_t side, std::uint8_t firstSector,
                   std::uint8_t count, std::span<std::uint8_t> buffer) override;
  bool WriteSectors(std::uint8_t drive, std::uint8_t track, std::uint8_t side, std::uint8_t firstSector,
                    std::uint8_t count, std::span<const std::uint8_t> buffer) override;
  std::string LastError() const override { return lastError_; }
  bool Acquire() override;

 private:
  struct Int13Call;
  bool Request(const Int13Call& call);
  bool Transfer(std::uint8_t function, std::uint8_t drive, std::uint8_t track, std::uint8_t side,
                std::uint8_t firstSector, std::uint8_t count, const void* buffer, std::size_t bufferSize);

  Vwin32Channel& channel_;
  std::string lastError_;
};

}  // namespace vellonix::physdisk
