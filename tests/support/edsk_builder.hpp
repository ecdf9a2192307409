// Builds EDSK and old DSK images of a SAM disk, track by track, for the
// import tests: sectors in any order, some left out or marked bad.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vellonix::testing {

struct StoredSectorSpec {
  std::uint8_t C = 0, H = 0, R = 1, N = 2, St1 = 0, St2 = 0;
  std::vector<std::uint8_t> Data;
};

// 160 tracks in file order (cylinder 0 side 0, cylinder 0 side 1, ...);
// a track with no sectors is written unformatted (EDSK) or empty (DSK).
using TrackSpecs = std::vector<std::vector<StoredSectorSpec>>;

// The tracks of a whole disk held side after side (as DiskImageBuffer
// holds it), each sector in its place, nothing left out.
inline TrackSpecs TracksOfDisk(const std::vector<std::uint8_t>& sideMajor) {
  constexpr std::size_t kSector = 512, kTrack = 10 * kSector, kSide = 80 * kTrack;
  TrackSpecs tracks(160);
  for (std::size_t t = 0; t < tracks.size(); ++t) {
    const std::size_t cylinder = t / 2, head = t % 2;
    for (std::uint8_t r = 1; r <= 10; ++r) {
      const auto start = sideMajor.begin() + static_cast<std::ptrdiff_t>(head * kSide + cylinder * kTrack + (r - 1) * kSector);
      tracks[t].push_back({static_cast<std::uint8_t>(cylinder), static_cast<std::uint8_t>(head), r, 2, 0, 0,
                           std::vector<std::uint8_t>(start, start + kSector)});
    }
  }
  return tracks;
}

inline void PutText(std::vector<std::uint8_t>& out, std::size_t at, std::string_view text) {
  std::copy(text.begin(), text.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
}

// A list of more than 29 sectors runs on past the first 256 bytes, which
// then grow to the next multiple of 256.
inline std::vector<std::uint8_t> TrackBlock(const std::vector<StoredSectorSpec>& sectors, int cylinder, int head) {
  std::vector<std::uint8_t> block(std::max<std::size_t>(256, (0x18 + 8 * sectors.size() + 255) / 256 * 256));
  PutText(block, 0, "Track-Info\r\n");
  block[0x10] = static_cast<std::uint8_t>(cylinder);
  block[0x11] = static_cast<std::uint8_t>(head);
  block[0x14] = 2;
  block[0x15] = static_cast<std::uint8_t>(sectors.size());
  block[0x16] = 0x18;
  block[0x17] = 0xE5;
  for (std::size_t i = 0; i < sectors.size(); ++i) {
    const StoredSectorSpec& s = sectors[i];
    const std::size_t at = 0x18 + 8 * i;
    const std::array<std::uint8_t, 8> info{s.C, s.H, s.R, s.N, s.St1, s.St2,
                                           static_cast<std::uint8_t>(s.Data.size()),
                                           static_cast<std::uint8_t>(s.Data.size() >> 8)};
    std::copy(info.begin(), info.end(), block.begin() + static_cast<std::ptrdiff_t>(at));
  }
  for (const StoredSectorSpec& s : sectors) block.insert(block.end(), s.Data.begin(), s.Data.end());
  return block;
}

// An EDSK ("EXTENDED CPC DSK File") of 80 cylinders and 2 sides.
inline std::vector<std::uint8_t> BuildEdsk(const TrackSpecs& tracks, std::uint8_t cylinders = 80, std::uint8_t sides = 2) {
  std::vector<std::uint8_t> file(256);
  PutText(file, 0, "EXTENDED CPC DSK File\r\nDisk-Info\r\n");
  PutText(file, 0x22, "vellonix test");
  file[0x30] = cylinders;
  file[0x31] = sides;
  for (std::size_t t = 0; t < tracks.size(); ++t) {
    if (tracks[t].empty()) continue;
    std::vector<std::uint8_t> block = TrackBlock(tracks[t], static_cast<int>(t / 2), static_cast<int>(t % 2));
    block.resize((block.size() + 255) / 256 * 256);
    file[0x34 + t] = static_cast<std::uint8_t>(block.size() / 256);
    file.insert(file.end(), block.begin(), block.end());
  }
  return file;
}

// An old DSK ("MV - CPC"): every track the same size, its sectors 512 bytes.
inline std::vector<std::uint8_t> BuildDsk(const TrackSpecs& tracks) {
  constexpr std::size_t kTrackSize = 256 + 10 * 512;
  std::vector<std::uint8_t> file(256);
  PutText(file, 0, "MV - CPCEMU Disk-File\r\nDisk-Info\r\n");
  file[0x30] = 80;
  file[0x31] = 2;
  file[0x32] = static_cast<std::uint8_t>(kTrackSize);
  file[0x33] = static_cast<std::uint8_t>(kTrackSize >> 8);
  for (std::size_t t = 0; t < tracks.size(); ++t) {
    std::vector<std::uint8_t> block = TrackBlock(tracks[t], static_cast<int>(t / 2), static_cast<int>(t % 2));
    block.resize(kTrackSize);
    file.insert(file.end(), block.begin(), block.end());
  }
  return file;
}

}  // namespace vellonix::testing
