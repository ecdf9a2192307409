// Extracting a SAM file: its chain gathered from the disk, the header
// skipped, the data cut to the length its entry gives.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vellonix/core/dir_entry.hpp"
#include "vellonix/core/geometry.hpp"

namespace vellonix::fileops {

// The number of bytes the entry's type says its file holds: fixed for
// snapshots, ZxLength for ZX files, the SAM length (core::SamFileLength)
// for SAM files, 0 for directories and unknown codes.
std::uint32_t ExtractLength(core::ConstDirEntry entry);

// The sectors that hold the file's body, in chain order, as many as its
// length needs, whatever SectorCount says (some tools wrote counts one
// short): the chain ends at a zero link and at a link to an address no
// disk has (core::IsDiskSector), and never holds more than the disk has.
std::vector<core::SectorAddress> ExtractChain(const core::DiskImageBuffer& disk, int slot);

// The file's data: the bytes after the 9-byte header in ExtractChain's
// sectors. ExtractLength bytes, or all that they hold when that is fewer.
std::vector<std::uint8_t> ExtractFileBytes(const core::DiskImageBuffer& disk, int slot);

// The host file name an extracted file is offered under: its name as the
// list shows it, blanks off both ends, and the bytes a host file name must
// not hold (separators, C0 and C1 control codes, DEL) shown as '_'. UTF-8;
// empty when the name is all blanks.
std::string HostFileNameFor(const core::DiskImageBuffer& disk, int slot);

// Writes ExtractFileBytes to `utf8Path` as core::WriteOutputFile does (an
// existing regular file is replaced safely; a FIFO or a terminal is written
// to). Host failures throw core::HostIoError.
void ExtractFileTo(const core::DiskImageBuffer& disk, int slot, std::string_view utf8Path);

}  // namespace vellonix::fileops
