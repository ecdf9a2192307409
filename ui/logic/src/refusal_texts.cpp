#include "vellonix/ui/refusal_texts.hpp"

#include <filesystem>
#include <system_error>

#include "vellonix/core/container.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/text.hpp"

namespace vellonix::ui {

namespace {

// 819200 as "819,200".
std::string Grouped(std::uintmax_t number) {
  std::string digits = std::to_string(number);
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<std::size_t>(at), ",");
  return digits;
}

std::string NamedAs(std::string_view path) {
  const std::string_view extension = core::FileExtension(path);
  return extension.empty() ? "named without an extension" : "named " + std::string(extension);
}

std::string Reason(std::string_view path) {
  switch (core::KindOfHostFile(path)) {
    case core::HostFileKind::Regular: break;
    case core::HostFileKind::Missing: return "the file is gone";
    case core::HostFileKind::Directory: return "it is a folder";
    default: return "it is no regular file";
  }
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(core::PathFromUtf8(path), error);
  if (error) return error.message();
  if (size == core::kMgtFileSize) return Grouped(size) + " bytes, an MGT image's size, but " + NamedAs(path) + ", not .mgt";
  if (size == core::kSadFileSize) return Grouped(size) + " bytes, a SAD image's size, but " + NamedAs(path) + ", not .sad";
  return Grouped(size) + (size == 1 ? " byte" : " bytes") + "; an MGT image holds " + Grouped(core::kMgtFileSize) +
         " and a SAD image " + Grouped(core::kSadFileSize);
}

}  // namespace

std::string InvalidImageDetail(std::string_view path) { return std::string(path) + ": " + Reason(path); }

}  // namespace vellonix::ui
