// Host file input and output. Failures are thrown as HostIoError, whose
// what() is the text the user sees: the path and the host's own message.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace vellonix::core {

class HostIoError : public std::system_error {
 public:
  HostIoError(std::error_code code, const std::string& path) : std::system_error(code, path) {}
};

// Paths cross the layers as UTF-8 strings.
std::filesystem::path PathFromUtf8(std::string_view utf8);

// The file a save should replace: a symbolic link is followed to the file
// it names, so that the link itself stays.
std::filesystem::path ResolveSaveTarget(const std::filesystem::path& target);

// Writes `bytes` to a new file beside the target, flushes and closes it, and
// only then renames it over the target: a failure at any point leaves the
// old file as it was. The target's permission bits are kept; a target that
// nobody may write is refused.
void WriteFileSafely(std::string_view utf8Path, std::span<const std::uint8_t> bytes);

// An open host file for reading, closed when it goes out of scope.
class HostInputFile {
 public:
  explicit HostInputFile(std::string_view utf8Path);
  HostInputFile(const HostInputFile&) = delete;
  HostInputFile& operator=(const HostInputFile&) = delete;
  ~HostInputFile();

  std::uintmax_t Size() const { return size_; }
  // Reads exactly out.size() bytes from the current position.
  void ReadExactly(std::span<std::uint8_t> out);

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  std::uintmax_t size_ = 0;
};

}  // namespace vellonix::core
