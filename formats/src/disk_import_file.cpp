#include "vellonix/formats/disk_import_file.hpp"

#include <utility>
#include <vector>

#include "vellonix/core/host_file.hpp"
#include "vellonix/formats/gzip_data.hpp"

namespace vellonix::formats {

ImportedFile ImportDiskImageFile(std::string_view utf8Path, core::DiskImageBuffer& disk) {
  ImportedFile imported;
  // As the loader: a FIFO, a device or a folder is refused before it is
  // opened. A missing file is left to the opening, which says so.
  const core::HostFileKind kind = core::KindOfHostFile(utf8Path);
  if (kind != core::HostFileKind::Regular && kind != core::HostFileKind::Missing) {
    imported.Error = "it is no file";
    return imported;
  }
  std::vector<std::uint8_t> bytes;
  {
    // Our own images are read under their lock, as the loader reads them.
    const core::ImageLock lock(utf8Path, core::ImageLock::Mode::Shared);
    core::HostInputFile file(utf8Path);
    if (file.Size() > kLargestImport) {
      imported.Error = "it is too large to be a disk image";
      return imported;
    }
    bytes.resize(static_cast<std::size_t>(file.Size()));
    file.ReadExactly(bytes);
  }
  imported.Packed = IsGzip(bytes);
  if (imported.Packed) {
    GunzipResult unpacked = Gunzip(bytes, kLargestImport);
    if (!unpacked.Error.empty()) {
      imported.Error = std::move(unpacked.Error);
      return imported;
    }
    bytes = std::move(unpacked.Bytes);
  }
  imported.Result = ImportDiskImage(bytes, utf8Path, disk);
  if (!imported.Result.Imported) {
    imported.Error = (imported.Packed ? "gzip-compressed data holding " : "") + imported.Result.Error;
  }
  return imported;
}

std::string DescribeImportDamage(const ImportedFile& imported) {
  const ImportResult& result = imported.Result;
  if (result.Problems.empty()) return {};
  return std::to_string(result.Problems.size()) + " of the disk's " + std::to_string(core::kSectorsPerDisk) +
         " sectors are missing or damaged in the " +
         (imported.Packed ? "gzip-compressed " : "") + result.Kind;
}

}  // namespace vellonix::formats
