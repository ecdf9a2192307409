// What every subcommand shares: how it is registered, how it reports a
// refusal, how it loads an image and how it writes to standard output.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "vellonix/core/container.hpp"
#include "vellonix/core/geometry.hpp"

namespace vellonix::cli {

// A subcommand registers its options on the app and hands back the work to
// do when it is the one chosen; the work returns the exit code.
struct Command {
  CLI::App* Parser = nullptr;
  std::function<int()> Run;
};

using CommandFactory = Command (*)(CLI::App& app);

// The program's own refusals ("Invalid diskimage"): shown as they are,
// exit code 1, like host I/O errors.
class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr std::string_view kInvalidImageMessage = "Invalid diskimage";

struct LoadedImage {
  std::unique_ptr<core::DiskImageBuffer> Disk;
  core::ContainerKind Container = core::ContainerKind::Mgt;
};

// Loads the image by the loader's rules; a file that is no image throws
// CommandError with kInvalidImageMessage, host failures HostIoError.
LoadedImage LoadImageOrFail(std::string_view path);

// Writes all of `text` to standard output and flushes it; a short write or
// a failed flush (a full disk, a closed pipe) throws CommandError.
void WriteStdout(std::string_view text);

}  // namespace vellonix::cli
