// What every subcommand shares: how it is registered, how it reports a
// refusal, how it loads an image and how it writes to standard output.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
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
// CommandError with kInvalidImageMessage, host failures HostIoError. The
// caller holds the image's lock (core::ImageLock) around it.
LoadedImage LoadImageOrFail(std::string_view path);

// A "File #" as the list shows it: decimal digits only, so "010" is 10 and
// never 8. Nothing for anything else (signs, blanks, hex, empty).
std::optional<int> DecimalFileNumber(std::string_view text);

// The FILE# argument of a command, checked as decimal by the parser, so a
// wrong one is a usage error that names it.
CLI::Option* AddFileNumberArgument(CLI::App& command, int& fileNumber);

// An image the CLI writes must be readable by it again: its name ends in
// .mgt or .sad (any case). Checked by the parser, so others are usage errors.
CLI::Validator ImageOutputName();

// Writes `bytes` to the host file `output` as core::WriteOutputFile does,
// or to standard output when `output` is "-".
void WriteOutput(std::string_view output, std::span<const std::uint8_t> bytes);

// Writes all of `text` to standard output and flushes it; a short write or
// a failed flush (a full disk, a closed pipe) throws CommandError.
void WriteStdout(std::string_view text);

}  // namespace vellonix::cli
