#include "vellonix/core/host_file.hpp"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <random>

namespace vellonix::core {

namespace fs = std::filesystem;

namespace {

std::error_code LastError(std::errc fallback = std::errc::io_error) {
  return errno != 0 ? std::error_code(errno, std::generic_category()) : std::make_error_code(fallback);
}

std::string Utf8Of(const fs::path& path) {
  const auto text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::FILE* OpenFile(const fs::path& path, const char* mode) {
#ifdef _WIN32
  const std::string narrow(mode);
  return _wfopen(path.c_str(), std::wstring(narrow.begin(), narrow.end()).c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Opens a new file that did not exist before, next to `target`.
std::pair<fs::path, std::FILE*> CreateTemporaryBeside(const fs::path& target, const std::string& shownPath) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  const fs::path folder = target.parent_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto suffix = std::to_string(random() % 1000000000ULL);
    const fs::path candidate = folder / fs::path(u8"." + target.filename().u8string() + u8"." + std::u8string(suffix.begin(), suffix.end()) + u8".tmp");
    errno = 0;
    std::FILE* file = OpenFile(candidate, "wbx");
    if (file != nullptr) return {candidate, file};
    if (errno != EEXIST) throw HostIoError(LastError(), shownPath);
  }
  throw HostIoError(std::make_error_code(std::errc::file_exists), shownPath);
}

}  // namespace

fs::path PathFromUtf8(std::string_view utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

fs::path ResolveSaveTarget(const fs::path& target) {
  fs::path current = target;
  // A bound on link chains, as the host has one: a loop ends in an error.
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(current, error))) return current;
    const fs::path next = fs::read_symlink(current, error);
    if (error) throw HostIoError(error, Utf8Of(target));
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  throw HostIoError(std::make_error_code(std::errc::too_many_symbolic_link_levels), Utf8Of(target));
}

void WriteFileSafely(std::string_view utf8Path, std::span<const std::uint8_t> bytes) {
  const fs::path requested = PathFromUtf8(utf8Path);
  const fs::path target = ResolveSaveTarget(requested);
  const std::string shownPath(utf8Path);

  std::error_code error;
  const auto targetStatus = fs::status(target, error);
  const bool targetExists = !error && fs::exists(targetStatus);
  if (targetExists) {
    if (fs::is_directory(targetStatus)) throw HostIoError(std::make_error_code(std::errc::is_a_directory), shownPath);
    constexpr auto kAnyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((targetStatus.permissions() & kAnyWrite) == fs::perms::none) {
      throw HostIoError(std::make_error_code(std::errc::permission_denied), shownPath);
    }
  }

  auto created = CreateTemporaryBeside(target, shownPath);
  const fs::path temporary = std::move(created.first);
  std::unique_ptr<std::FILE, FileCloser> file(created.second);
  const auto fail = [&](std::error_code code) {
    file.reset();
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw HostIoError(code, shownPath);
  };

  errno = 0;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) fail(LastError());
  errno = 0;
  if (std::fflush(file.get()) != 0) fail(LastError());
  errno = 0;
  if (std::fclose(file.release()) != 0) fail(LastError());

  if (targetExists) fs::permissions(temporary, targetStatus.permissions(), fs::perm_options::replace, error);
  fs::rename(temporary, target, error);
  if (error) fail(error);
}

HostInputFile::HostInputFile(std::string_view utf8Path) : path_(utf8Path) {
  const fs::path path = PathFromUtf8(utf8Path);
  errno = 0;
  file_ = OpenFile(path, "rb");
  if (file_ == nullptr) throw HostIoError(LastError(std::errc::no_such_file_or_directory), path_);
  std::error_code error;
  size_ = fs::file_size(path, error);
  if (error) {
    std::fclose(file_);
    file_ = nullptr;
    throw HostIoError(error, path_);
  }
}

HostInputFile::~HostInputFile() {
  if (file_ != nullptr) std::fclose(file_);
}

void HostInputFile::ReadExactly(std::span<std::uint8_t> out) {
  errno = 0;
  if (std::fread(out.data(), 1, out.size(), file_) != out.size()) {
    // A file that shrank while it was read ends early without an errno.
    throw HostIoError(std::ferror(file_) != 0 ? LastError() : std::make_error_code(std::errc::io_error), path_);
  }
}

}  // namespace vellonix::core
