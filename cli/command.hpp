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

// The refusal of the file at `path` as no image: CommandError with
// kInvalidImageMessage, then the path, why, and what would read it.
[[noreturn]] void ThrowInvalidImage(std::string_view path);

// A "File #" as the list shows it: decimal digits only, so "010" is 10 and
// never 8. Nothing for anything else (signs, blanks, hex, empty).
std::optional<int> DecimalFileNumber(std::string_view text);

// The FILE# argument of a command, checked as decimal by the parser, so a
// wrong one is a usage error that names it.
CLI::Option* AddFileNumberArgument(CLI::App& command, int& fileNumber);

// An image the CLI writes must be readable by it again: its name ends in
// .mgt or .sad (any case). Checked by the parser, so others are usage errors.
CLI::Validator ImageOutputName();

// Whether the user named an output or it is a name taken from the image.
enum class OutputNamed { ByUser, ByDefault };

// Writes `bytes`, read from the image at `image`, to the host file `output`
// as core::WriteOutputFile does; to standard output when the user named
// "-" (a file taken from the image under the name "-" is a file so named).
// An output that is the image itself, however it is named (through a link,
// another hard link), is refused: writing it would replace the disk with
// one of its files.
void WriteOutput(std::string_view output, OutputNamed named, std::string_view image,
                 std::span<const std::uint8_t> bytes);

// The rule for every file the CLI writes whole (an image, a copy of a
// disk): an existing one is replaced only when --force is given, so that a
// mistyped name never destroys a file. Refused: CommandError.
CLI::Option* AddForceFlag(CLI::App& command, bool& force, std::string_view output);
void RefuseToReplace(std::string_view output, bool force);

// Writes all of `text` to standard output and flushes it; a short write or
// a failed flush (a full disk, a closed pipe) throws CommandError.
void WriteStdout(std::string_view text);

}  // namespace vellonix::cli
