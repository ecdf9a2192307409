// Host files on POSIX hosts: kinds, input, safe saves (fsync, rename,
// signals) and outputs.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <utility>

#include "host_file_posix.hpp"

namespace vellonix::core {

namespace fs = std::filesystem;

using namespace posix;

namespace {

[[noreturn]] void ThrowNotRegular(HostFileKind kind, const std::string& shown) {
  if (kind == HostFileKind::Directory) throw HostIoError(std::make_error_code(std::errc::is_a_directory), shown);
  throw HostIoError(std::make_error_code(std::errc::invalid_argument), shown, "not a regular file");
}

// The file a name led to was swapped for another while it was being opened.
HostIoError Changed(const std::string& shown) {
  return HostIoError(std::make_error_code(std::errc::resource_unavailable_try_again), shown,
                     "changed while it was being opened; try again");
}

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
  // it the old file's mode. Locked for as long as it is ours, so that a
  // later command clearing away what killed saves left behind
  // (RemoveStaleTemporaries) knows it is not one of those.
  PendingTemporary(const fs::path& target, const std::string& shown, bool replacing) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = detail::TemporaryNameBeside(target);
      Register();
      fd_.Reset(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, replacing ? 0 : 0666));
      if (fd_.Get() < 0) {
        const int error = errno;
        Unregister();
        if (error != EEXIST) ThrowErrno(shown, error);
        continue;
      }
      if (LockedAndStillNamed()) return;
      // Taken by a command clearing away left-overs between the creation
      // and the lock: that one removes it; try another name.
      fd_.Reset();
      Unregister();
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
    if (!kept_) ::unlink(path_.c_str());
    fd_.Reset();
    lockHolder_.Reset();
    Unregister();
  }

  int Fd() const { return fd_.Get(); }
  const fs::path& Path() const { return path_; }
  // Closes the file, which reports what writing it failed to report; a
  // copy of its descriptor keeps the lock until the file is renamed.
  void Close(const std::string& shown) {
    lockHolder_.Reset(::dup(fd_.Get()));
    CloseOrThrow(fd_, shown);
  }
  void Keep() { kept_ = true; }
  // The old file is about to be overwritten: should that be cut short, this
  // flushed copy is the only whole new content there is, so no signal
  // removes it and it leaves the name that left-overs are cleared away by
  // (".new" for ".tmp"). Removed as usual once the old file is whole.
  void KeepIfCutShort() {
    Unregister();
    fs::path kept = path_;
    kept.replace_extension(".new");
    if (::rename(path_.c_str(), kept.c_str()) == 0) path_ = kept;
  }

 private:
  // A host without these locks leaves the file unlocked, and the clearing
  // away then passes it by too.
  bool LockedAndStillNamed() const {
    if (::flock(fd_.Get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) return false;
    struct stat named {}, opened {};
    return ::lstat(path_.c_str(), &named) == 0 && ::fstat(fd_.Get(), &opened) == 0 && SameFile(named, opened);
  }
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
  Descriptor lockHolder_;
  bool kept_ = false;
};

// When the target cannot be replaced by a rename, the complete data already
// lie flushed beside it; only then is the target itself overwritten, and
// only when it is still the file that was judged (no link, FIFO or other
// file put in its place since).
void WriteInPlace(const fs::path& target, const struct stat* judged, std::span<const std::uint8_t> bytes,
                  const std::string& shown) {
  Descriptor fd(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
  if (fd.Get() < 0) ThrowErrno(shown);
  struct stat opened {};
  if (::fstat(fd.Get(), &opened) != 0) ThrowErrno(shown);
  if (!S_ISREG(opened.st_mode) || (judged != nullptr && !SameFile(opened, *judged))) throw Changed(shown);
  // Overwritten, then cut to length: an image of the same size is never
  // shorter on the disk than it was, not even for a moment.
  WriteAll(fd.Get(), bytes, shown);
  if (::ftruncate(fd.Get(), static_cast<off_t>(bytes.size())) != 0) ThrowErrno(shown);
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

}  // namespace

HostFileKind posix::OpenIfRegular(const fs::path& path, const std::string& shown, Descriptor& fd,
                                  struct stat& status) {
  if (::stat(path.c_str(), &status) != 0) ThrowErrno(shown);
  if (!S_ISREG(status.st_mode)) return KindOfMode(status.st_mode);
  // Non-blocking all the same: should a FIFO have taken the name since,
  // the open must not wait for a writer.
  fd.Reset(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.Get() < 0) ThrowErrno(shown);
  struct stat opened {};
  if (::fstat(fd.Get(), &opened) != 0) ThrowErrno(shown);
  if (!S_ISREG(opened.st_mode) || !SameFile(opened, status)) throw Changed(shown);
  status = opened;
  return HostFileKind::Regular;
}

HostFileKind KindOfHostFile(std::string_view utf8Path) {
  struct stat status {};
  if (::stat(PathFromUtf8(utf8Path).c_str(), &status) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return HostFileKind::Missing;
    ThrowErrno(std::string(utf8Path));
  }
  return KindOfMode(status.st_mode);
}

bool SameHostFile(std::string_view utf8PathA, std::string_view utf8PathB) {
  struct stat a {}, b {};
  return ::stat(PathFromUtf8(utf8PathA).c_str(), &a) == 0 && ::stat(PathFromUtf8(utf8PathB).c_str(), &b) == 0 &&
         SameFile(a, b);
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
  WriteAll(temporary.Fd(), bytes, shown);
  // A file with other hard links keeps its inode, so that every name sees
  // the new image; so does one whose attributes the new file cannot carry.
  bool inPlace = false;
  if (existing) {
    temporary.ApplyModeOf(*existing, shown);
    inPlace = existing->st_nlink > 1 || !CopyAttributes(target, temporary.Fd());
  }
  SyncOrThrow(temporary.Fd(), shown);
  temporary.Close(shown);
  if (!inPlace) {
    if (::rename(temporary.Path().c_str(), target.c_str()) == 0) {
      temporary.Keep();
      return SyncFolder(target.parent_path());
    }
    // A mount point, or a folder spanning devices, cannot be renamed over.
    if (errno != EXDEV && errno != EBUSY) ThrowErrno(shown);
  }
  temporary.KeepIfCutShort();
  WriteInPlace(target, existing ? &*existing : nullptr, bytes, shown);
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
  Descriptor fd;
  struct stat status {};
  const HostFileKind kind = OpenIfRegular(PathFromUtf8(utf8Path), path_, fd, status);
  if (kind != HostFileKind::Regular) ThrowNotRegular(kind, path_);
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

}  // namespace vellonix::core
