// Disk images as other tools write them, read into the program's disk:
// MGT and SAD, a raw 819,200-byte image in MGT order under any name, and
// EDSK and old DSK images of the SAM's 80 x 2 x 10 x 512 geometry.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vellonix/core/geometry.hpp"

namespace vellonix::formats {

// A sector of the disk that the image does not give whole: absent from
// its track (or the track is absent), recorded without a data field, with
// a CRC error, or cut short. What a damaged copy stores is kept (a sector
// with a CRC error is usually almost right); the rest of the sector is
// zero-filled.
struct SectorProblem {
  int Cylinder = 0;
  int Head = 0;
  int Sector = 0;        // 1-10
  std::string What;      // "missing", "no data field", "CRC error", "data cut short"
  std::size_t Kept = 0;  // bytes of the stored copy kept, from the sector's start
};

// The problem as one line for the user: "cylinder 1, side 1, sector 5: CRC
// error, its bytes kept as stored".
std::string DescribeProblem(const SectorProblem& problem);

struct ImportResult {
  bool Imported = false;
  // What the bytes were recognised as ("EDSK image", "raw image in MGT
  // order", ...); for a refusal, the reason, naming what was recognised.
  std::string Kind;
  std::string Error;
  std::vector<SectorProblem> Problems;  // in disk order
  std::vector<std::string> Notes;       // what was left out, for the user
};

// Reads `file` into `disk`. `fileName` counts only for SAD images without
// their signature, which are known by their ".sad" name as the loader knows
// them. Every sector is placed by its ID (cylinder and sector number), not
// by its place in the track, so skewed tracks come out in order; where a
// track holds the same ID more than once, a good copy wins over a damaged
// one. An EDSK or DSK image that holds no sector of a SAM disk at all is
// refused. Nothing outside `file` is read, whatever its headers claim. On
// refusal `disk` is left as it was.
ImportResult ImportDiskImage(std::span<const std::uint8_t> file, std::string_view fileName,
                             core::DiskImageBuffer& disk);

}  // namespace vellonix::formats
