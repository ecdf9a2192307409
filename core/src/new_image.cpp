#include "vellonix/core/new_image.hpp"

#include <algorithm>
#include <string>

#include "vellonix/core/dir_entry.hpp"
#include "vellonix/core/directory.hpp"

namespace vellonix::core {

std::size_t NewDiskNameLimit(int dosKind) { return dosKind == kBDos ? 16 : 10; }

bool NewDiskTakesName(int dosKind) { return dosKind == kMasterDos || dosKind == kBDos; }

void MakeBlankDisk(DiskImageBuffer& disk, int dosKind, std::string_view name, std::size_t nameLimit) {
  disk.fill(0);
  std::string padded(name);
  if (padded.size() < nameLimit) padded.append(nameLimit - padded.size(), ' ');

  const auto put = [&disk](std::size_t at, std::string_view bytes) {
    std::copy(bytes.begin(), bytes.end(), disk.begin() + static_cast<std::ptrdiff_t>(at));
  };
  const auto piece = [&padded](std::size_t from, std::size_t length) {
    if (from >= padded.size()) return std::string(length, ' ');
    std::string part = padded.substr(from, length);
    part.resize(length, ' ');
    return part;
  };

  if (dosKind == kMasterDos && name.empty()) {
    disk[DirEntryField::DiskName] = '*';
    return;
  }
  if (NewDiskTakesName(dosKind)) put(DirEntryField::DiskName, piece(0, DirEntryField::DiskNameLength));
  if (dosKind == kBDos) {
    put(DirEntryField::BdosSignature, "BDOS");
    put(DirEntryField::DiskNameTail, piece(DirEntryField::DiskNameLength, DirEntryField::DiskNameTailLength));
  }
}

}  // namespace vellonix::core
