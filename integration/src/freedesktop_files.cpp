#include "freedesktop_files.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "vellonix/core/host_file.hpp"
#include "vellonix/integration/shell_integration.hpp"

namespace vellonix::integration::freedesktop {

namespace fs = std::filesystem;

namespace {

// Whether `path` lies below `folder` (not at it), by their names alone.
bool IsBelow(const fs::path& path, const fs::path& folder) {
  const fs::path a = path.lexically_normal();
  const fs::path b = folder.lexically_normal();
  const auto [inA, inB] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  return inB == b.end() && inA != a.end() && !inA->empty();
}

}  // namespace

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

bool IsFile(const fs::path& path) {
  std::error_code ignored;
  return fs::is_regular_file(path, ignored);
}

std::optional<std::string> ReadFile(const fs::path& path) {
  if (!IsFile(path)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.is_open() || in.bad()) throw IntegrationError("Cannot read " + Quoted(path) + ": " + std::strerror(errno));
  return text;
}

// The save is the program's own safe one (a new file flushed and renamed
// over the old, so a failed write never leaves half a file; a link, such as
// a mimeapps.list kept elsewhere, is written through).
bool WriteFile(const fs::path& path, std::string_view text, bool executable) {
  std::error_code error;
  const fs::perms mode = executable ? fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                          fs::perms::others_read | fs::perms::others_exec
                                    : fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                          fs::perms::others_read;
  if (ReadFile(path) == text && (fs::status(path, error).permissions() & fs::perms::owner_exec) ==
                                    (mode & fs::perms::owner_exec)) {
    return false;
  }
  const auto fail = [&](const std::string& why) { throw IntegrationError("Cannot write " + Quoted(path) + ": " + why); };
  fs::create_directories(path.parent_path(), error);
  if (error) fail(error.message());
  try {
    core::WriteFileSafely(path.string(), {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  } catch (const core::HostIoError& failure) {
    fail(failure.code().message());
  }
  fs::permissions(path, mode, error);
  if (error) fail(error.message());
  return true;
}

bool RemoveFile(const fs::path& path, const fs::path& stop) {
  if (!IsFile(path)) return false;
  std::error_code error;
  if (!fs::remove(path, error) && error) throw IntegrationError("Cannot remove " + Quoted(path) + ": " + error.message());
  RemoveEmptyFolders(path.parent_path(), stop);
  return true;
}

fs::path PruneStop(const FreedesktopPlaces& places, const fs::path& base) {
  return IsBelow(base, places.Home) ? places.Home : base;
}

void RemoveEmptyFolders(const fs::path& folder, const fs::path& stop) {
  for (fs::path at = folder; IsBelow(at, stop); at = at.parent_path()) {
    std::error_code error;
    if (!fs::is_directory(at, error) || !fs::is_empty(at, error) || !fs::remove(at, error)) return;
  }
}

std::optional<fs::path> FindProgram(const FreedesktopPlaces& places, std::string_view name) {
  const auto runnable = [](const fs::path& path) { return IsFile(path) && ::access(path.c_str(), X_OK) == 0; };
  if (name.empty()) return std::nullopt;
  if (name.find('/') != std::string_view::npos) {
    if (runnable(fs::path(name))) return fs::path(name);
    return std::nullopt;
  }
  for (const fs::path& folder : places.Path) {
    if (runnable(folder / name)) return folder / name;
  }
  return std::nullopt;
}

}  // namespace vellonix::integration::freedesktop
