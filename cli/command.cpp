#include "command.hpp"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <charconv>

#include "vellonix/core/host_file.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/formats/image_refusal.hpp"

namespace vellonix::cli {

LoadedImage LoadImageOrFail(std::string_view path) {
  LoadedImage image{std::make_unique<core::DiskImageBuffer>(), core::ContainerKind::Mgt};
  const auto kind = core::LoadImageFile(path, *image.Disk);
  if (!kind) ThrowInvalidImage(path);
  image.Container = *kind;
  return image;
}

void ThrowInvalidImage(std::string_view path) {
  throw CommandError(std::string(kInvalidImageMessage) + ": " +
                     formats::RefusedImageDetail(path, "vellonix-cli import"));
}

std::optional<int> DecimalFileNumber(std::string_view text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

CLI::Option* AddFileNumberArgument(CLI::App& command, int& fileNumber) {
  const CLI::Validator decimal(
      [](std::string& text) -> std::string {
        if (DecimalFileNumber(text)) return {};
        return "\"" + text + "\" is no File #: give the number the list shows, in decimal digits";
      },
      "DECIMAL");
  return command
      .add_option_function<std::string>(
          "FILE#", [&fileNumber](const std::string& text) { fileNumber = DecimalFileNumber(text).value_or(0); },
          "The file's \"File #\" in the list (slot + 1), in decimal")
      ->required()
      ->check(decimal);
}

CLI::Validator ImageOutputName() {
  return CLI::Validator(
      [](std::string& path) -> std::string {
        if (core::HasExtension(path, ".MGT") || core::HasExtension(path, ".SAD")) return {};
        return "\"" + path + "\" must end in .mgt or .sad, or the image could not be opened again";
      },
      "IMAGE.mgt|IMAGE.sad");
}

void WriteOutput(std::string_view output, OutputNamed named, std::string_view image,
                 std::span<const std::uint8_t> bytes) {
  if (output == "-" && named == OutputNamed::ByUser) {
    return WriteStdout({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
  }
  if (core::SameHostFile(output, image)) {
    throw CommandError(std::string(output) + ": is the image being read; give another OUTPUT");
  }
  core::WriteOutputFile(output, bytes);
}

CLI::Option* AddForceFlag(CLI::App& command, bool& force, std::string_view output) {
  return command.add_flag("--force", force,
                          "Replace " + std::string(output) + " when it exists; without it an existing " +
                              std::string(output) + " is left as it is (exit 1)");
}

void RefuseToReplace(std::string_view output, bool force) {
  std::error_code ignored;
  // A link that leads nowhere counts too: writing would create its file.
  if (force || !std::filesystem::exists(std::filesystem::symlink_status(core::PathFromUtf8(output), ignored))) return;
  throw CommandError(std::string(output) + ": file exists (use --force to replace it)");
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
