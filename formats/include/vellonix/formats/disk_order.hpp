// Moving a disk between the order of an MGT file (the two sides' tracks
// interleaved) and the order of DiskImageBuffer (side after side) without
// a second 800 K buffer.
#pragma once

#include "vellonix/core/geometry.hpp"

namespace vellonix::formats {

// `disk` holds an MGT file's 819,200 bytes as read; afterwards it holds the
// same disk in DiskImageBuffer order. Each track is moved once.
void MgtOrderToDiskOrder(core::DiskImageBuffer& disk);

}  // namespace vellonix::formats
