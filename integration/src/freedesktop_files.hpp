// The user's folders by the XDG base directory conventions, and the few
// file operations the freedesktop ties make in them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellonix::integration {

struct FreedesktopPlaces {
  std::filesystem::path Home;
  std::filesystem::path DataHome;    // $XDG_DATA_HOME, ~/.local/share
  std::filesystem::path ConfigHome;  // $XDG_CONFIG_HOME, ~/.config
  std::vector<std::filesystem::path> DataDirs;    // $XDG_DATA_DIRS: the system's
  std::vector<std::filesystem::path> ConfigDirs;  // $XDG_CONFIG_DIRS
  std::vector<std::string> Desktops;  // $XDG_CURRENT_DESKTOP, lower case
  std::vector<std::filesystem::path> Path;  // $PATH, where desktops find programs
};

namespace freedesktop {

std::string Quoted(const std::filesystem::path& path);
bool IsFile(const std::filesystem::path& path);

// A file's bytes; nothing when there is no such file.
std::optional<std::string> ReadFile(const std::filesystem::path& path);

// Writes `text` to `path` unless it holds it already, making the folders
// it needs. Returns whether anything changed.
bool WriteFile(const std::filesystem::path& path, std::string_view text, bool executable);

// Removes the file, then each folder above it that is left empty, up to
// (not including) `stop`. Returns whether there was a file to remove.
bool RemoveFile(const std::filesystem::path& path, const std::filesystem::path& stop);

// Where RemoveFile stops for the files under `base` (an XDG folder): at the
// home folder when `base` lies in it, so that folders such as ~/.local
// made for the files go with them; else at `base`.
std::filesystem::path PruneStop(const FreedesktopPlaces& places, const std::filesystem::path& base);

// Removes each empty folder from `folder` upwards, up to (not including)
// `stop`.
void RemoveEmptyFolders(const std::filesystem::path& folder, const std::filesystem::path& stop);

// The program a desktop would start for `name` (a path, or a name looked
// up on the places' PATH); nothing when it is not an executable file.
std::optional<std::filesystem::path> FindProgram(const FreedesktopPlaces& places, std::string_view name);

}  // namespace freedesktop
}  // namespace vellonix::integration
