// What the POSIX host-file units share (host_file_posix.cpp,
// image_lock_posix.cpp, file_attributes_posix.cpp): descriptors, the host's
// errors, and what a name leads to.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "vellonix/core/host_file.hpp"

namespace vellonix::core::posix {

inline std::error_code ErrnoCode(int error = errno) { return {error != 0 ? error : EIO, std::generic_category()}; }

[[noreturn]] inline void ThrowErrno(const std::string& shown, int error = errno) {
  throw HostIoError(ErrnoCode(error), shown);
}

inline HostFileKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return HostFileKind::Regular;
  if (S_ISDIR(mode)) return HostFileKind::Directory;
  if (S_ISFIFO(mode)) return HostFileKind::Fifo;
  if (S_ISCHR(mode)) return HostFileKind::CharacterDevice;
  if (S_ISBLK(mode)) return HostFileKind::BlockDevice;
  return HostFileKind::Other;
}

inline bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

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

// Opens the file `path` names for reading, only when it is a regular file:
// its kind is learnt first, without opening it, and the descriptor must then
// be that same file. Anything else is left unopened and its kind returned.
HostFileKind OpenIfRegular(const std::filesystem::path& path, const std::string& shown, Descriptor& fd,
                           struct stat& status);

// Opens the regular file `path` names and takes the image lock on it
// (ImageLock): true with `fd` holding it and `locked` its status, false
// (nothing opened) when it is no regular file. Waits and throws as
// ImageLock does (image_lock_posix.cpp).
bool OpenLocked(const std::filesystem::path& path, const std::string& shown, ImageLock::Mode mode,
                std::chrono::milliseconds wait, Descriptor& fd, struct stat& locked);

// Clears away the new files that saves of `target` left beside it when
// their process was killed (image_lock_posix.cpp).
void RemoveStaleTemporaries(const std::filesystem::path& target);

// Gives the new file `to` exactly the extended attributes (ACLs among them)
// of `from`: the old file's, and none that the folder lent the new one.
// False when the host will not let us; the old file must then be written
// in place to keep them (file_attributes_posix.cpp).
bool CopyAttributes(const std::filesystem::path& from, int to);

}  // namespace vellonix::core::posix
