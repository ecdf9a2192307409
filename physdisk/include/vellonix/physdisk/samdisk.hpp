// Copying a whole SAM floppy into the in-memory disk and writing the disk
// back, track by track, through the drive's requests, with a progress
// window. Nothing here knows the host: a drive and a progress window are
// handed in.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "vellonix/core/geometry.hpp"
#include "vellonix/physdisk/bios_disk.hpp"

namespace vellonix::physdisk {

inline constexpr const char* kLoadCaption = "Loading SAM disk ...";
inline constexpr const char* kSaveCaption = "Saving SAM disk ...";

// Every transfer addresses the first drive, with the SAM geometry.
inline constexpr std::uint8_t kSamDrive = 1;
inline constexpr std::uint8_t kSamLastTrack = core::kTracksPerSide - 1;  // 79
inline constexpr std::uint8_t kSamSectors = core::kSectorsPerTrack;

// A save writes the sectors of a track side one request each, odd ones
// first: while one write ends and the next is handed over, the sector after
// it passes under the head, but not the one after that.
inline constexpr std::array<std::uint8_t, core::kSectorsPerTrack> kSaveSectorOrder{1, 3, 5, 7, 9, 2, 4, 6, 8, 10};

// The window shown while a transfer runs: shown with a caption and the bar
// at its start, stepped after each whole track, hidden at the end.
class TransferProgress {
 public:
  virtual ~TransferProgress() = default;
  virtual void Show(const std::string& caption) = 0;
  virtual void Step() = 0;
  virtual void Hide() = 0;
};

// The request that ended a transfer; for a save whose sectors were all
// written but could not be flushed to the disk, the flush (Flushing, with
// no sectors of its own).
struct FailedRequest {
  int Track = 0;
  int Side = 0;
  int FirstSector = 1;
  int Count = 0;
  bool Flushing = false;
  friend bool operator==(const FailedRequest&, const FailedRequest&) = default;
};

// Empty when the whole disk was transferred.
using TransferResult = std::optional<FailedRequest>;

// Where a transfer stopped and why, as the CLI prints it after "Disk
// Loading Error: " and the program's box shows it below that line:
// "track 3, side 1, sectors 1-10: " and what the drive said (LastError);
// a flush that failed is "after the last sector: " and what it said.
std::string DescribeFailure(const FailedRequest& failed, const BiosDisk& drive);

// The load and save of a drive that moves the whole disk in one run. Each
// shows its progress by the window's steps, one per whole track, and on a
// failure names the first track side it did not get (LastError says why).
class WholeDiskDrive {
 public:
  virtual ~WholeDiskDrive() = default;
  virtual TransferResult LoadWhole(core::DiskImageBuffer& disk, TransferProgress& progress) = 0;
  virtual TransferResult SaveWhole(const core::DiskImageBuffer& disk, TransferProgress& progress) = 0;
};

// Sets the media type (its result does not matter), then reads the 160
// track sides, track by track, side 0 before side 1, straight into their
// places in `disk`. Stops at the first request that fails: the track sides
// read so far are in `disk`, the rest of it is as it was. The progress
// window is hidden again and the drive released before it returns. A drive
// with a WholeDisk() transfer does the reading in its own way.
TransferResult LoadSamDisk(BiosDisk& drive, core::DiskImageBuffer& disk, TransferProgress& progress);

// The same for writing: all 1,600 sectors, one request each, in
// kSaveSectorOrder within each track side, then the drive's flush. Stops at
// the first failure.
TransferResult SaveSamDisk(BiosDisk& drive, const core::DiskImageBuffer& disk, TransferProgress& progress);

}  // namespace vellonix::physdisk
