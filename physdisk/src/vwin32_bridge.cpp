// The VWIN32 device's lifecycle and the BIOS requests, as plain logic over
// the four Win32 calls of Vwin32Api.
#include <cstdio>

#include "vellonix/physdisk/vwin32.hpp"

namespace vellonix::physdisk {

Vwin32::Vwin32(Vwin32Api& api) : api_(api), platformId_(api.PlatformId()) {}

Vwin32::~Vwin32() {
  DIOC_REGISTERS unused;
  CallVwin32(kVwin32CloseRequest, unused);
}

bool Vwin32::OpenVwin32() {
  if (IsOpen()) return true;
  // Any version of 95, 98 or ME will do; the NT family has no VWIN32.
  if (platformId_ != kPlatformWin32Windows) return false;
  Vwin32Handle = api_.CreateVwin32();
  return IsOpen();
}

bool Vwin32::CallVwin32(std::uint32_t controlCode, DIOC_REGISTERS& record) {
  if (controlCode == kVwin32CloseRequest) {
    if (IsOpen()) api_.CloseHandle(Vwin32Handle);
    Vwin32Handle = kInvalidHandle;
    return true;
  }
  if (!OpenVwin32()) return false;
  return api_.DeviceIoControl(Vwin32Handle, controlCode, record);
}

namespace {

enum Int13Function : std::uint8_t { kReadSectors = 0x02, kWriteSectors = 0x03, kSetMediaType = 0x18 };

std::uint32_t RegisterPair(std::uint8_t high, std::uint8_t low) {
  return static_cast<std::uint32_t>(high) << 8 | low;
}

std::uint8_t ReturnedAh(const DIOC_REGISTERS& record) { return static_cast<std::uint8_t>(record.reg_EAX >> 8); }

}  // namespace

// One INT 13h call as its registers give it. Track numbers stay below 256,
// so CL holds the sector (or the sector count) alone.
struct Vwin32Disk::Int13Call {
  std::uint8_t Function = 0;  // AH
  std::uint8_t Al = 0;        // sector count; 0 for the media type
  std::uint8_t Ch = 0;        // track (or last track)
  std::uint8_t Cl = 0;        // first sector (or sectors per track)
  std::uint8_t Dh = 0;        // side
  std::uint8_t Dl = 0;        // BIOS drive
  const void* Buffer = nullptr;  // EBX; the media type sets none
};

bool Vwin32Disk::Request(const Int13Call& call) {
  // One record for the request; every attempt fills it again, because the
  // previous one left the BIOS's registers in it.
  DIOC_REGISTERS record;
  return WithRetries([&] {
    record.reg_EAX = RegisterPair(call.Function, call.Al);
    record.reg_ECX = RegisterPair(call.Ch, call.Cl);
    record.reg_EDX = RegisterPair(call.Dh, call.Dl);
    if (call.Buffer != nullptr) record.reg_EBX = FlatAddress(call.Buffer);
    if (!channel_.CallVwin32(VWIN32_DIOC_DOS_INT13, record)) {
      lastError_ = "the VWIN32 device did not take the request (it exists only on Windows 95, 98 and ME)";
      return false;
    }
    // The media type is judged by its status alone; the transfers by the
    // carry flag alone.
    const bool done = call.Function == kSetMediaType ? ReturnedAh(record) == 0 : (record.reg_Flags & kCarryFlag) == 0;
    if (!done) {
      char status[32];
      std::snprintf(status, sizeof status, "BIOS status %02Xh", static_cast<unsigned>(ReturnedAh(record)));
      lastError_ = status;
    }
    return done;
  });
}

bool Vwin32Disk::SetMediaType(std::uint8_t drive, std::uint8_t lastTrack, std::uint8_t sectorsPerTrack) {
  return Request({kSetMediaType, 0, lastTrack, sectorsPerTrack, 0, BiosDrive(drive), nullptr});
}

bool Vwin32Disk::Transfer(std::uint8_t function, std::uint8_t drive, std::uint8_t track, std::uint8_t side,
                          std::uint8_t firstSector, std::uint8_t count, const void* buffer, std::size_t bufferSize) {
  if (!RunFitsBuffer(bufferSize, count)) {
    lastError_ = "the buffer does not hold the sectors asked for";
    return false;
  }
  return Request({function, count, track, firstSector, side, BiosDrive(drive), buffer});
}

bool Vwin32Disk::ReadSectors(std::uint8_t drive, std::uint8_t track, std::uint8_t side, std::uint8_t firstSector,
                             std::uint8_t count, std::span<std::uint8_t> buffer) {
  return Transfer(kReadSectors, drive, track, side, firstSector, count, buffer.data(), buffer.size());
}

bool Vwin32Disk::WriteSectors(std::uint8_t drive, std::uint8_t track, std::uint8_t side, std::uint8_t firstSector,
                              std::uint8_t count, std::span<const std::uint8_t> buffer) {
  return Transfer(kWriteSectors, drive, track, side, firstSector, count, buffer.data(), buffer.size());
}

bool Vwin32Disk::Acquire() {
  if (channel_.OpenVwin32()) return true;
  lastError_ = "cannot open the VWIN32 device (it exists only on Windows 95, 98 and ME)";
  return false;
}

}  // namespace vellonix::physdisk
