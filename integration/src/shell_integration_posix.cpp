// The POSIX hosts tie in by the freedesktop conventions: the user's folders
// from the environment, the desktop's tools started without a shell.
#include <fcntl.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "freedesktop_shell_integration.hpp"

extern char** environ;

namespace vellonix::integration {

namespace {

namespace fs = std::filesystem;

// An XDG folder variable; the conventions ignore a relative one.
std::optional<fs::path> AbsoluteFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return std::nullopt;
  return fs::path(value);
}

fs::path HomeFolder() {
  if (const auto home = AbsoluteFromEnvironment("HOME")) return *home;
  if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) return user->pw_dir;
  throw IntegrationError("Cannot tell the user's home folder: HOME is not set");
}

// A list of folders such as XDG_DATA_DIRS; relative ones are ignored.
std::vector<fs::path> FolderList(const char* name, std::string_view fallback) {
  const char* value = std::getenv(name);
  std::string_view list = value != nullptr && value[0] != '\0' ? value : fallback;
  std::vector<fs::path> folders;
  while (!list.empty()) {
    const auto end = list.find(':');
    const std::string_view dir = list.substr(0, end);
    if (dir.starts_with('/')) folders.emplace_back(dir);
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return folders;
}

FreedesktopPlaces PlacesFromEnvironment() {
  FreedesktopPlaces places;
  places.Home = HomeFolder();
  places.DataHome = AbsoluteFromEnvironment("XDG_DATA_HOME").value_or(places.Home / ".local/share");
  places.ConfigHome = AbsoluteFromEnvironment("XDG_CONFIG_HOME").value_or(places.Home / ".config");
  places.DataDirs = FolderList("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
  places.ConfigDirs = FolderList("XDG_CONFIG_DIRS", "/etc/xdg");
  places.Path = FolderList("PATH", "/usr/local/bin:/usr/bin:/bin");
  if (const char* desktops = std::getenv("XDG_CURRENT_DESKTOP")) {
    std::string name;
    for (const char* c = desktops;; ++c) {
      if (*c == ':' || *c == '\0') {
        if (!name.empty()) places.Desktops.push_back(name);
        name.clear();
        if (*c == '\0') break;
      } else {
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
      }
    }
  }
  return places;
}

// Starts the tool from PATH with its output discarded and waits for it; a
// tool that is not installed, or fails, leaves its cache as it was.
void RunTool(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  std::vector<std::string> copies = argv;
  for (std::string& arg : copies) args.push_back(arg.data());
  args.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return;
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int started = ::posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return;
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

std::unique_ptr<ShellIntegration> MakeHostShellIntegration(const std::string& programPath) {
  return std::make_unique<FreedesktopShellIntegration>(PlacesFromEnvironment(), programPath, &RunTool);
}

}  // namespace vellonix::integration
