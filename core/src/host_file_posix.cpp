// Host files on POSIX hosts: descriptors, fsync, flock and signals.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <thread>
#include <utility>

#include "vellonix/core/host_file.hpp"

namespace vellonix::core {

namespace fs = std::filesystem;

namespace {

std::error_code ErrnoCode(int error = errno) { return {error != 0 ? error : EIO, std::generic_category()}; }

[[noreturn]] void ThrowErrno(const std::string& shown, int error = errno) { throw HostIoError(ErrnoCode(error), shown); }

HostFileKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return HostFileKind::Regular;
  if (S_ISDIR(mode)) return HostFileKind::Directory;
  if (S_ISFIFO(mode)) return HostFileKind::Fifo;
  if (S_ISCHR(mode)) return HostFileKind::CharacterDevice;
  if (S_ISBLK(mode)) return HostFileKind::BlockDevice;
  return HostFileKind::Other;
}

[[noreturn]] void ThrowNotRegular(HostFileKind kind, const std::string& shown) {
  if (kind == HostFileKind::Directory) throw HostIoError(std::make_error_code(std::errc::is_a_directory), shown);
  throw HostIoError(std::make_error_code(std::errc::invalid_argument), shown, "not a regular file");
}

// A descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Reset(); }
  int Get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

void WriteAll(int fd, std::span<const std::uint8_t> bytes, const std::string& shown) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      ThrowErrno(shown);
    }
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
}

void SyncOrThrow(int fd, const std::string& shown) {
  if (::fsync(fd) != 0 && errno != EINVAL) ThrowErrno(shown);  // EINVAL: nothing to flush (a pipe)
}

void CloseOrThrow(Descriptor& fd, const std::string& shown) {
  if (::close(fd.Release()) != 0 && errno != EINTR) ThrowErrno(shown);
}

// The folder's entry for the renamed file must reach the disk too, or a
// power cut can bring the old file back, or none.
void SyncFolder(const fs::path& folder) {
  const Descriptor fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Get() >= 0) ::fsync(fd.Get());  // best effort: the data itself is already safe
}

// While a save's new file exists, the signals that end a process remove it
// first, so that an interrupted save leaves nothing behind. The handler may
// only use a fixed buffer, so the path waits there.
constexpr std::array kCleanupSignals{SIGINT, SIGTERM, SIGHUP, SIGXFSZ};
std::array<char, 4096> pendingPath{};
volatile std::sig_atomic_t pendingSet = 0;
std::array<struct sigaction, kCleanupSignals.size()> previousActions{};
std::array<bool, kCleanupSignals.size()> installed{};

extern "C" void RemovePendingAndRaise(int signal) {
  if (pendingSet != 0) ::unlink(pendingPath.data());
  pendingSet = 0;
  for (std::size_t i = 0; i < kCleanupSignals.size(); ++i) {
    if (kCleanupSignals[i] == signal && installed[i]) ::sigaction(signal, &previousActions[i], nullptr);
  }
  ::raise(signal);
}

class PendingTemporary {
 public:
  // Created without any permission when it will replace a file, so that
  // it is never open to more people than that file; ApplyModeOf then gives
  // it the old file's mode.
  PendingTemporary(const fs::path& target, const std::string& shown, bool replacing) {
    for (int attempt = 0; attempt < 100 && fd_.Get() < 0; ++attempt) {
      path_ = detail::TemporaryNameBeside(target);
      Register();
      fd_.Reset(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, replacing ? 0 : 0666));
      if (fd_.Get() >= 0) return;
      const int error = errno;
      Unregister();
      if (error != EEXIST) ThrowErrno(shown, error);
    }
    ThrowErrno(shown, EEXIST);
  }
  void ApplyModeOf(const struct stat& model, const std::string& shown) {
    // Owner and group first (where the host lets us): changing them clears
    // the set-id bits.
    if (::fchown(fd_.Get(), model.st_uid, model.st_gid) != 0) ::fchown(fd_.Get(), static_cast<uid_t>(-1), model.st_gid);
    if (::fchmod(fd_.Get(), model.st_mode & 07777) != 0) ThrowErrno(shown);
  }
  PendingTemporary(const PendingTemporary&) = delete;
  PendingTemporary& operator=(const PendingTemporary&) = delete;
  ~PendingTemporary() {
    fd_.Reset();
    if (!kept_) ::unlink(path_.c_str());
    Unregister();
  }

  int Fd() const { return fd_.Get(); }
  const fs::path& Path() const { return path_; }
  void Close(const std::string& shown) { CloseOrThrow(fd_, shown); }
  void Keep() { kept_ = true; }

 private:
  void Register() {
    const std::string& text = path_.native();
    if (text.size() >= pendingPath.size()) return;  // too long to clean up by signal; rare, and still safe
    std::memcpy(pendingPath.data(), text.c_str(), text.size() + 1);
    pendingSet = 1;
    for (std::size_t i = 0; i < kCleanupSignals.size(); ++i) {
      struct sigaction current {};
      ::sigaction(kCleanupSignals[i], nullptr, &current);
      // A signal the process ignores does not end it: leave it ignored.
      if (current.sa_handler == SIG_IGN) continue;
      struct sigaction ours {};
      ours.sa_handler = RemovePendingAndRaise;
      sigemptyset(&ours.sa_mask);
      installed[i] = ::sigaction(kCleanupSignals[i], &ours, &previousActions[i]) == 0;
    }
  }
  void Unregister() {
    pendingSet = 0;
    for (std::size_t i = 0; i < kCleanupSignals.size(); ++i) {
      if (installed[i]) ::sigaction(kCleanupSignals[i], &previousActions[i], nullptr);
      installed[i] = false;
    }
  }

  fs::path path_;
  Descriptor fd_;
  bool kept_ = false;
};

// When the target cannot be replaced by a rename (it is a mount point, or
// the folder spans devices), the complete data already lies flushed beside
// it; only then is the target itself overwritten.
void WriteInPlace(const fs::path& target, std::span<const std::uint8_t> bytes, const std::string& shown) {
  Descriptor fd(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY));
  if (fd.Get() < 0) ThrowErrno(shown);
  WriteAll(fd.Get(), bytes, shown);
  SyncOrThrow(fd.Get(), shown);
  CloseOrThrow(fd, shown);
}

std::optional<struct stat> StatOf(const fs::path& path, const std::string& shown) {
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0) return status;
  if (errno == ENOENT) return std::nullopt;
  ThrowErrno(shown);
}

// Writes to a file that is not ours to replace: a pipe, a terminal, a
// device, or the file behind standard output.
void WriteDirectly(const fs::path& path, std::span<const std::uint8_t> bytes, const std::string& shown) {
  Descriptor fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
  if (fd.Get() < 0) ThrowErrno(shown);
  WriteAll(fd.Get(), bytes, shown);
  CloseOrThrow(fd, shown);
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

HostFileKind KindOfHostFile(std::string_view utf8Path) {
  struct stat status {};
  if (::stat(PathFromUtf8(utf8Path).c_str(), &status) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return HostFileKind::Missing;
    ThrowErrno(std::string(utf8Path));
  }
  return KindOfMode(status.st_mode);
}

void WriteFileSafely(std::string_view utf8Path, std::span<const std::uint8_t> bytes) {
  const std::string shown(utf8Path);
  const fs::path target = ResolveSaveTarget(PathFromUtf8(utf8Path));
  const std::optional<struct stat> existing = StatOf(target, shown);
  if (existing) {
    const HostFileKind kind = KindOfMode(existing->st_mode);
    if (kind != HostFileKind::Regular) ThrowNotRegular(kind, shown);
    // The host decides who may write it (root may, whatever the bits say).
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) ThrowErrno(shown);
  }

  PendingTemporary temporary(target, shown, existing.has_value());
  if (existing) temporary.ApplyModeOf(*existing, shown);
  WriteAll(temporary.Fd(), bytes, shown);
  SyncOrThrow(temporary.Fd(), shown);
  temporary.Close(shown);
  if (::rename(temporary.Path().c_str(), target.c_str()) != 0) {
    if (errno != EXDEV && errno != EBUSY) ThrowErrno(shown);
    WriteInPlace(target, bytes, shown);
  } else {
    temporary.Keep();
  }
  SyncFolder(target.parent_path());
}

void WriteOutputFile(std::string_view utf8Path, std::span<const std::uint8_t> bytes) {
  const std::string shown(utf8Path);
  const fs::path path = PathFromUtf8(utf8Path);
  const std::optional<struct stat> existing = StatOf(path, shown);
  if (existing) {
    const HostFileKind kind = KindOfMode(existing->st_mode);
    if (kind == HostFileKind::Directory) ThrowNotRegular(kind, shown);
    if (kind == HostFileKind::BlockDevice) {
      throw HostIoError(std::make_error_code(std::errc::invalid_argument), shown,
                        "a block device; extracted files are not written to disks");
    }
    if (kind != HostFileKind::Regular) return WriteDirectly(path, bytes, shown);
    // /dev/stdout, /proc/self/fd/1: a link to the file that standard output
    // already writes, which must get the bytes as the shell meant (appended
    // to a log), not be replaced.
    struct stat linkStatus {}, output {};
    if (::lstat(path.c_str(), &linkStatus) == 0 && S_ISLNK(linkStatus.st_mode) &&
        ::fstat(STDOUT_FILENO, &output) == 0 && SameFile(output, *existing)) {
      return WriteAll(STDOUT_FILENO, bytes, shown);
    }
  }
  WriteFileSafely(utf8Path, bytes);
}

HostInputFile::HostInputFile(std::string_view utf8Path) : path_(utf8Path) {
  // Non-blocking, so that opening a FIFO does not wait for a writer.
  Descriptor fd(::open(PathFromUtf8(utf8Path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.Get() < 0) ThrowErrno(path_);
  struct stat status {};
  if (::fstat(fd.Get(), &status) != 0) ThrowErrno(path_);
  if (!S_ISREG(status.st_mode)) ThrowNotRegular(KindOfMode(status.st_mode), path_);
  size_ = static_cast<std::uintmax_t>(status.st_size);
  handle_ = fd.Release();
}

HostInputFile::~HostInputFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

void HostInputFile::ReadExactly(std::span<std::uint8_t> out) {
  while (!out.empty()) {
    const ssize_t got = ::read(static_cast<int>(handle_), out.data(), out.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowErrno(path_);
    }
    // A file that shrank while it was read ends early without an errno.
    if (got == 0) throw HostIoError(std::make_error_code(std::errc::io_error), path_);
    out = out.subspan(static_cast<std::size_t>(got));
  }
}

ImageLock::ImageLock(std::string_view utf8Path, Mode mode, std::chrono::milliseconds wait) {
  const std::string shown(utf8Path);
  const fs::path path = PathFromUtf8(utf8Path);
  const int operation = (mode == Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  auto pause = std::chrono::milliseconds(2);
  for (;;) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0) ThrowErrno(shown);
    struct stat locked {};
    if (::fstat(fd.Get(), &locked) != 0) ThrowErrno(shown);
    // Nothing but a regular file can be an image; the loader says so.
    if (!S_ISREG(locked.st_mode)) return;
    while (::flock(fd.Get(), operation) != 0) {
      if (errno != EWOULDBLOCK && errno != EINTR) ThrowErrno(shown);
      if (std::chrono::steady_clock::now() >= deadline) {
        throw detail::ImageInUse(shown, wait);
      }
      std::this_thread::sleep_for(pause);
      pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
    // The holder we waited for may have saved a new file under the name;
    // the lock on the old one then guards nothing, so take the new one's.
    struct stat current {};
    if (::stat(path.c_str(), &current) == 0 && SameFile(current, locked)) {
      handle_ = fd.Release();
      return;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      throw detail::ImageInUse(shown, wait);
    }
  }
}

ImageLock::~ImageLock() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));  // closing lets go of the lock
}

}  // namespace vellonix::core
