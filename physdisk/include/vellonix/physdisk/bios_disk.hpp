// The three requests on the sectors of a floppy that the whole-disk load
// and save are built on. Each host carries them out its own way (VWIN32 on
// Windows 9x, the kernel's floppy driver on Linux, an image file standing in
// for a drive); the contract is the same for all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "vellonix/core/geometry.hpp"

namespace vellonix::physdisk {

class WholeDiskDrive;

// Attempts each request makes before it gives up.
inline constexpr std::uint8_t RetryCount = 3;

// Drive numbers are 1-based: drive 1 is the first floppy drive (A:), BIOS
// drive 0; drive 0 addresses BIOS drive 0 as well.
constexpr std::uint8_t BiosDrive(std::uint8_t drive) { return drive == 0 ? 0 : static_cast<std::uint8_t>(drive - 1); }

// Runs `attempt` until it succeeds, at most RetryCount times.
template <typename Attempt>
bool WithRetries(Attempt&& attempt) {
  for (int tries = 0; tries < RetryCount; ++tries) {
    if (attempt()) return true;
  }
  return false;
}

// Whether a run of `count` sectors fits the buffer a request was given. A
// run of none is refused too: some BIOSes read a count of 0 as 256.
constexpr bool RunFitsBuffer(std::size_t bufferSize, std::uint8_t count) {
  return count > 0 && bufferSize >= std::size_t{count} * core::kBytesPerSector;
}

class BiosDisk {
 public:
  virtual ~BiosDisk() = default;

  // Sets the media type for `lastTrack` (the highest track number, not the
  // count) and `sectorsPerTrack`; true when the drive accepted it.
  virtual bool SetMediaType(std::uint8_t drive, std::uint8_t lastTrack, std::uint8_t sectorsPerTrack) = 0;
  // Sectors `firstSector` (from 1) to firstSector + count - 1 of one track
  // side, 512 bytes each, in ascending order. True only when all of them
  // were transferred; `buffer` must hold count x 512 bytes.
  virtual bool ReadSectors(std::uint8_t drive, std::uint8_t track, std::uint8_t side, std::uint8_t firstSector,
                           std::uint8_t count, std::span<std::uint8_t> buffer) = 0;
  virtual bool WriteSectors(std::uint8_t drive, std::uint8_t track, std::uint8_t side, std::uint8_t firstSector,
                            std::uint8_t count, std::span<const std::uint8_t> buffer) = 0;

  // The sectors written so far reach the disk itself, not only a cache on
  // the way there (a loop device's file); true when they have, or when the
  // drive keeps no such cache. A save counts as done only after it.
  virtual bool Flush() { return true; }

  // What the host said when a request last failed, for callers that show
  // causes; empty when none has.
  virtual std::string LastError() const = 0;

  // Opens the drive ahead of the first request, so that a caller can report
  // a missing or refused device before it starts; the requests open it
  // themselves when nobody did. False (with LastError) when it cannot be.
  virtual bool Acquire() = 0;
  // A transfer has ended: a drive that is held exclusively is let go (the
  // next request opens it again).
  virtual void Release() {}

  // A drive that cannot be reached sector by sector (a flux reader, whose
  // own command reads or writes the whole disk in one run) carries out the
  // whole-disk load and save itself; none for the others.
  virtual WholeDiskDrive* WholeDisk() { return nullptr; }
};

}  // namespace vellonix::physdisk
