// The image lock on POSIX hosts: flock on the image's inode, followed to
// a new file saved under the name, and the clearing away of what killed
// saves left behind.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <thread>

#include "host_file_posix.hpp"

namespace vellonix::core {

namespace fs = std::filesystem;
using posix::Descriptor;
using posix::SameFile;
using posix::ThrowErrno;
using posix::OpenIfRegular;
using posix::RemoveStaleTemporaries;

// A save in progress holds a lock on its new file (PendingTemporary in
// host_file_posix.cpp), so one that can be locked has no owner left.
// Nothing else is touched: not another target's, not a link, FIFO or
// device under such a name.
void posix::RemoveStaleTemporaries(const fs::path& target) {
  const fs::path folder = target.parent_path();
  std::error_code error;
  for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().native();
    if (!detail::IsTemporaryNameOf(target, name)) continue;
    const fs::path path = folder / name;
    struct stat named {}, opened {}, still {};
    if (::lstat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode)) continue;
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0 || ::fstat(fd.Get(), &opened) != 0 || !SameFile(named, opened)) continue;
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) continue;  // its save is still running
    if (::lstat(path.c_str(), &still) == 0 && SameFile(still, opened)) ::unlink(path.c_str());
  }
}

bool posix::OpenLocked(const fs::path& path, const std::string& shown, ImageLock::Mode mode,
                       std::chrono::milliseconds wait, Descriptor& fd, struct stat& locked) {
  const int operation = (mode == ImageLock::Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  auto pause = std::chrono::milliseconds(2);
  for (;;) {
    // Nothing but a regular file can be an image; the loader says so.
    if (OpenIfRegular(path, shown, fd, locked) != HostFileKind::Regular) return false;
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
      if (mode == ImageLock::Mode::Exclusive) RemoveStaleTemporaries(ResolveSaveTarget(path));
      return true;
    }
    fd.Reset();
    if (std::chrono::steady_clock::now() >= deadline) {
      throw detail::ImageInUse(shown, wait);
    }
  }
}

ImageLock::ImageLock(std::string_view utf8Path, Mode mode, std::chrono::milliseconds wait) {
  Descriptor fd;
  struct stat locked {};
  if (posix::OpenLocked(PathFromUtf8(utf8Path), std::string(utf8Path), mode, wait, fd, locked)) {
    handle_ = fd.Release();
  }
}

ImageLock::~ImageLock() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));  // closing lets go of the lock
}

}  // namespace vellonix::core
