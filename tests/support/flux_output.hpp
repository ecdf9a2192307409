// What the flux reader's gw command prints per track side, for the tests of
// its drive: a read that found every sector, a write, and lists of lines
// joined with +.
#pragma once

#include <string>
#include <vector>

namespace vellonix::testing {

using Lines = std::vector<std::string>;

inline std::string TrackSideLabel(int trackSide) {
  return "T" + std::to_string(trackSide / 2) + "." + std::to_string(trackSide % 2) + ": ";
}

// Track sides [from, to) (track x 2 + side), each with all its sectors.
inline Lines FluxRead(int from, int to) {
  Lines lines;
  for (int at = from; at < to; ++at)
    lines.push_back(TrackSideLabel(at) + "IBM MFM (10/10 sectors) from Raw Flux (99 flux in 200.00ms)");
  return lines;
}

inline Lines FluxWritten(int from, int to) {
  Lines lines;
  for (int at = from; at < to; ++at)
    lines.push_back(TrackSideLabel(at) + "Writing Track (Flux: 4.00ms period, 200.3 ms total, Write all)");
  return lines;
}

inline Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace vellonix::testing
