#include "vellonix/core/listing.hpp"

namespace vellonix::core {

DirectoryListing ListDirectory(DiskView disk) {
  DirectoryListing listing;
  ScanDirectory(disk, listing.State, [&](int slot) {
    listing.Rows.push_back(DecodeRow(disk, slot));
    if (listing.Rows.back().Corrupted) ++listing.State.CorruptedCount;
  });
  listing.Status = ComposeStatusBar(disk, listing.State);
  return listing;
}

}  // namespace vellonix::core
