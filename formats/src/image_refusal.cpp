#include "vellonix/formats/image_refusal.hpp"

#include <memory>

#include "vellonix/core/host_file.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/formats/disk_import.hpp"
#include "vellonix/formats/disk_import_file.hpp"
#include "vellonix/formats/gzip_data.hpp"

namespace vellonix::formats {

namespace {

// What import would take the file for, when it takes it at all.
std::string ImportableAs(const core::RefusedImage& refused, std::string_view path) {
  if (IsGzip(refused.Bytes)) return "gzip-compressed data";
  if (refused.Bytes.empty()) return {};
  auto scratch = std::make_unique_for_overwrite<core::DiskImageBuffer>();
  const ImportResult result = ImportDiskImage(refused.Bytes, path, *scratch);
  return result.Imported ? result.Kind : std::string();
}

}  // namespace

std::string RefusedImageDetail(std::string_view utf8Path, std::string_view importer) {
  const std::string shown(utf8Path);
  try {
    const core::RefusedImage refused = core::ExamineRefusedImage(utf8Path, kLargestImport);
    const std::string importable = ImportableAs(refused, utf8Path);
    return shown + ": " + refused.Reason +
           (importable.empty() ? "" : "; " + std::string(importer) + " reads it (" + importable + ")");
  } catch (const core::HostIoError& error) {
    return error.what();  // it begins with the path
  }
}

}  // namespace vellonix::formats
