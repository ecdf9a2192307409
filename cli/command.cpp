#include "command.hpp"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "vellonix/core/image_file.hpp"

namespace vellonix::cli {

LoadedImage LoadImageOrFail(std::string_view path) {
  LoadedImage image{std::make_unique<core::DiskImageBuffer>(), core::ContainerKind::Mgt};
  const auto kind = core::LoadImageFile(path, *image.Disk);
  if (!kind) throw CommandError(std::string(kInvalidImageMessage));
  image.Container = *kind;
  return image;
}

void WriteStdout(std::string_view text) {
  errno = 0;
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  const bool flushed = std::fflush(stdout) == 0;
  if (written && flushed) return;
  const int error = errno != 0 ? errno : EIO;
  throw CommandError("cannot write to standard output: " + std::generic_category().message(error));
}

}  // namespace vellonix::cli
