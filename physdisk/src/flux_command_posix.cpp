// The flux reader's command on POSIX hosts: found on PATH, started with
// posix_spawn (no shell), its output read through a pipe.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "flux_command.hpp"

extern char** environ;

namespace vellonix::physdisk::detail {

namespace {

[[noreturn]] void Throw(int error, const char* what) { throw std::system_error(error, std::generic_category(), what); }

// A descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Close(); }
  int Get() const { return fd_; }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

class SpawnActions {
 public:
  SpawnActions() { posix_spawn_file_actions_init(&actions_); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
  posix_spawn_file_actions_t* Get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_{};
};

int WaitFor(pid_t child) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) Throw(errno, "waitpid");
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

}  // namespace

std::optional<std::filesystem::path> FindOnPath(std::string_view name) {
  const char* path = std::getenv("PATH");
  std::string_view folders = path != nullptr ? path : "";
  while (true) {
    const std::size_t end = std::min(folders.find(':'), folders.size());
    const std::string_view folder = folders.substr(0, end);
    if (!folder.empty() && folder.front() == '/') {
      const std::filesystem::path candidate = std::filesystem::path(folder) / name;
      struct stat found {};
      if (::stat(candidate.c_str(), &found) == 0 && S_ISREG(found.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
        return candidate;
    }
    if (end == folders.size()) return std::nullopt;
    folders.remove_prefix(end + 1);
  }
}

int RunForLines(const std::filesystem::path& program, const std::vector<std::string>& args, const LineSink& onLine) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) Throw(errno, "pipe");
  Descriptor reading(ends[0]);
  Descriptor writing(ends[1]);

  // Both outputs into the pipe (the copies lose the close-on-exec flag),
  // nothing to read: a question it might ask gets an end of file.
  SpawnActions actions;
  posix_spawn_file_actions_addopen(actions.Get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(actions.Get(), writing.Get(), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(actions.Get(), writing.Get(), STDERR_FILENO);

  std::vector<std::string> words{program.string()};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  pid_t child = 0;
  const int started = ::posix_spawn(&child, program.c_str(), actions.Get(), nullptr, argv.data(), environ);
  if (started != 0) Throw(started, program.c_str());
  writing.Close();

  LineSplitter lines(onLine);
  char buffer[4096];
  while (true) {
    const ssize_t got = ::read(reading.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    lines.Add(std::string_view(buffer, static_cast<std::size_t>(got)));
  }
  lines.Flush();
  return WaitFor(child);
}

PrivateFolder::PrivateFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vellonix-flux-XXXXXX").string();
  // Made with mode 0700 in one step: nobody else can put a file there first.
  if (::mkdtemp(pattern.data()) == nullptr) Throw(errno, "mkdtemp");
  path_ = pattern;
}

}  // namespace vellonix::physdisk::detail
