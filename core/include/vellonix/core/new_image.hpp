// Blank disks: all zeros except the few bytes of slot 0 that tell the DOS
// and carry the disk name.
#pragma once

#include <cstddef>
#include <string_view>

#include "vellonix/core/geometry.hpp"

namespace vellonix::core {

// How many name characters a new disk of the format takes: 16 for B-DOS,
// 10 otherwise (a SAM-DOS disk takes none, but the limit stays at 10).
std::size_t NewDiskNameLimit(int dosKind);

// True when a new disk of the format stores a name at all.
bool NewDiskTakesName(int dosKind);

// Overwrites the whole disk with a blank one of the format. `name` holds SAM
// bytes; it is padded with spaces to `nameLimit`. A MasterDOS disk with no
// name gets "*" at the first name byte, which marks a named-DOS disk with no
// name. Characters past what the format stores are not written.
void MakeBlankDisk(DiskImageBuffer& disk, int dosKind, std::string_view name, std::size_t nameLimit);

// The same with the format's own limit.
inline void MakeBlankDisk(DiskImageBuffer& disk, int dosKind, std::string_view name) {
  MakeBlankDisk(disk, dosKind, name, NewDiskNameLimit(dosKind));
}

}  // namespace vellonix::core
