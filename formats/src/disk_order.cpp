#include "vellonix/formats/disk_order.hpp"

#include <algorithm>
#include <array>
#include <bitset>

#include "vellonix/core/container.hpp"

namespace vellonix::formats {

namespace {

using core::kBytesPerTrack;
using core::kMgtBlocks;

// The MGT block whose 5,120 bytes belong at buffer track `block` (buffer
// tracks counted side after side).
int SourceBlock(int block) {
  return block < core::kTracksPerSide ? block * 2 : (block - core::kTracksPerSide) * 2 + 1;
}

std::uint8_t* TrackAt(core::DiskImageBuffer& disk, int block) {
  return disk.data() + static_cast<std::ptrdiff_t>(block) * kBytesPerTrack;
}

}  // namespace

void MgtOrderToDiskOrder(core::DiskImageBuffer& disk) {
  // The reordering is a permutation of 160 tracks: follow each cycle once,
  // holding the first track of the cycle aside.
  std::array<std::uint8_t, kBytesPerTrack> held{};
  std::bitset<kMgtBlocks> placed;
  for (int start = 0; start < kMgtBlocks; ++start) {
    if (placed[start]) continue;
    std::copy_n(TrackAt(disk, start), kBytesPerTrack, held.begin());
    int block = start;
    for (;;) {
      placed[block] = true;
      const int source = SourceBlock(block);
      if (source == start) {
        std::copy(held.begin(), held.end(), TrackAt(disk, block));
        break;
      }
      std::copy_n(TrackAt(disk, source), kBytesPerTrack, TrackAt(disk, block));
      block = source;
    }
  }
}

}  // namespace vellonix::formats
