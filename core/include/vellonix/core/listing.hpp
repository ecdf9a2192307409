// The whole listing of an image at once, as the main window shows it after
// a scan: the directory state, every row and the status bar.
#pragma once

#include <vector>

#include "vellonix/core/directory.hpp"
#include "vellonix/core/list_row.hpp"
#include "vellonix/core/status_bar.hpp"

namespace vellonix::core {

struct DirectoryListing {
  DirectoryState State;
  std::vector<ListRow> Rows;  // in ListedSlots order
  StatusTexts Status;
  friend bool operator==(const DirectoryListing&, const DirectoryListing&) = default;
};

DirectoryListing ListDirectory(DiskView disk);

}  // namespace vellonix::core
