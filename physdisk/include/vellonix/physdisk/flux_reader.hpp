// A flux reader as the floppy drive: its own `gw` command reads the whole
// disk into an MGT file, or writes one onto it, in a single run. The drive
// is named "gw:A" (the drive letter or unit after the colon) wherever a
// floppy device can be named: --device, or VELLONIX_FLOPPY for the SAM disk
// menu. What the command prints is judged here, platform-free; starting it
// is the host's part.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vellonix/core/geometry.hpp"
#include "vellonix/physdisk/bios_disk.hpp"

namespace vellonix::physdisk {

inline constexpr std::string_view kFluxReaderPrefix = "gw:";
// The command's name for the 800 K SAM layout: 80 cylinders, 2 heads,
// 10 sectors of 512 bytes from 1.
inline constexpr const char* kFluxReaderFormat = "ibm.800";
inline constexpr int kTrackSides = core::kTracksPerSide * core::kSides;    // 160
inline constexpr int kDiskSectors = kTrackSides * core::kSectorsPerTrack;  // 1,600

// Whether `device` names a flux reader's drive ("gw:" and the unit).
bool NamesFluxReader(std::string_view device);

// The unit of "gw:A" as the command's --drive takes it: A or B (either
// case), or a bus unit 0 to 3; none for anything else.
std::optional<std::string> FluxReaderUnit(std::string_view device);

// The drive behind "gw:A". Starts nothing yet: Acquire() looks for the
// command, the whole-disk transfers run it.
std::unique_ptr<BiosDisk> OpenFluxReader(std::string_view device);

// What one run of the command reported, line by line, as the command
// prints it. Only the summary says whether the whole disk came through: a
// read that gave up on sectors, and a failed USB command, still exit 0.
class FluxReaderLog {
 public:
  enum class Command { Read, Write };
  explicit FluxReaderLog(Command command) : command_(command) {}

  void Add(std::string_view line);

  // Whole tracks (both sides) the command has got past so far.
  int TracksDone() const;

  struct Outcome {
    bool Succeeded = false;
    int FailedTrackSide = 0;  // track x 2 + side: where the transfer went wrong
    std::string Cause;        // the command's own words, for the failure's message
  };
  // The verdict on the run, once the command has exited with `exitStatus`
  // (negative: ended by that signal).
  Outcome Judge(int exitStatus) const;

 private:
  static constexpr int kUnseen = -1;

  // The first track side not known to be complete.
  int FirstIncomplete() const;
  Outcome Failure(std::string cause) const;

  Command command_;
  std::vector<int> sectorsFound_ = std::vector<int>(kTrackSides, kUnseen);  // the latest count per track side
  std::vector<std::string> gaveUp_ = std::vector<std::string>(kTrackSides);
  int lastTrackSide_ = kUnseen;
  std::optional<std::pair<long, long>> found_;  // "Found N sectors of M"
  std::optional<long> verified_;                // tracks the closing line of a write counts
  std::string summary_;                         // the line either count came from
  std::string fatal_;                           // "** FATAL ERROR: ..." or "Command Failed: ..."
  std::string lastLine_;
};

}  // namespace vellonix::physdisk
