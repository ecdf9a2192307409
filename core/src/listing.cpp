#include "vellonix/core/listing.hpp"

namespace vellonix::core {

DirectoryListing ListDirectory(DiskView disk) {
  DirectoryListing listing;
  // Most disks hold no more files than the standard directory's slots;
  // room for them at once spares moving every row as the list grows.
  listing.Rows.reserve(kStandardDirSlots);
  ScanDirectory(disk, listing.State, [&](int slot) {
    listing.Rows.push_back(DecodeRow(disk, slot));
    if (listing.Rows.back().Corrupted) ++listing.State.CorruptedCount;
  });
  listing.Status = ComposeStatusBar(disk, listing.State);
  return listing;
}

}  // namespace vellonix::core
