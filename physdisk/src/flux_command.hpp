// What the flux reader's drive needs of the host: finding its command,
// running it without a shell while its output is read line by line, and a
// private folder for the image it reads or writes. flux_command_posix.cpp
// and flux_command_win32.cpp.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellonix::physdisk::detail {

using LineSink = std::function<void(std::string_view)>;

// The program `name` (name.exe on Windows) in the folders PATH lists. Only
// absolute folders count: a program of that name in whatever folder is
// current is never run.
std::optional<std::filesystem::path> FindOnPath(std::string_view name);

// Runs `program` with `args` (UTF-8) as its argument vector, its input
// empty, and hands each line of its output (standard output and error
// together) to `onLine` as it comes. Returns its exit status, or minus the
// signal that ended it. Throws std::system_error when it cannot be started.
int RunForLines(const std::filesystem::path& program, const std::vector<std::string>& args, const LineSink& onLine);

// A new folder under the host's temporary folder that only this user can
// enter; removed with everything in it when it goes.
class PrivateFolder {
 public:
  PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;
  ~PrivateFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Cuts output into lines at CR or LF, whichever the program uses; a line
// that never ends is handed on in pieces rather than held without bound.
class LineSplitter {
 public:
  explicit LineSplitter(const LineSink& onLine) : onLine_(onLine) {}
  void Add(std::string_view bytes) {
    for (const char ch : bytes) {
      if (ch == '\n' || ch == '\r') {
        Flush();
      } else {
        line_ += ch;
        if (line_.size() >= kLongestLine) Flush();
      }
    }
  }
  void Flush() {
    if (!line_.empty()) onLine_(line_);
    line_.clear();
  }

 private:
  static constexpr std::size_t kLongestLine = 4096;
  const LineSink& onLine_;
  std::string line_;
};

}  // namespace vellonix::physdisk::detail
