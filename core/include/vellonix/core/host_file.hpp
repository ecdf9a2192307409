// Host file input and output. Failures are thrown as HostIoError, whose
// what() is the text the user sees: the path and the host's own message.
// Everything that needs more of the host than the C++ library offers
// (flushing to the disk, locks, file kinds, signals) lives behind this
// header, in one implementation per host.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace vellonix::core {

class HostIoError : public std::system_error {
 public:
  // "path: the host's message for code".
  HostIoError(std::error_code code, const std::string& path) : std::system_error(code, path) {}
  // "path: detail", for failures the host's own message explains badly.
  HostIoError(std::error_code code, const std::string& path, const std::string& detail)
      : std::system_error(code, path), text_(std::make_shared<const std::string>(path + ": " + detail)) {}
  const char* what() const noexcept override { return text_ ? text_->c_str() : std::system_error::what(); }

 private:
  std::shared_ptr<const std::string> text_;
};

// Paths cross the layers as UTF-8 strings (on POSIX hosts, as the bytes the
// host gave, which need not be UTF-8).
std::filesystem::path PathFromUtf8(std::string_view utf8);

// The file a save should replace: a symbolic link is followed to the file
// it names, so that the link itself stays.
std::filesystem::path ResolveSaveTarget(const std::filesystem::path& target);

// What a path names, links followed. Learnt without opening it: opening a
// FIFO releases a writer waiting on it (whose data are then lost), and
// opening a device can act on it.
enum class HostFileKind { Missing, Regular, Directory, Fifo, CharacterDevice, BlockDevice, Other };
HostFileKind KindOfHostFile(std::string_view utf8Path);

// Whether two paths name one file, links followed: the same device and
// inode (on Windows, volume and file index), however each is spelt. False
// when either names nothing.
bool SameHostFile(std::string_view utf8PathA, std::string_view utf8PathB);

// Saves `bytes` as the file at `utf8Path` without ever losing the old one:
// they go to a new file beside it (given the old file's mode, extended
// attributes and ACLs, and, where the host allows, its owner), are flushed
// to the disk, and only then is it renamed over the target; the folder is
// flushed after. Anything that fails on the way, including the process
// being ended by a signal, leaves the old file as it was and removes the
// new one. Where a rename would lose something (the target has other hard
// links, or attributes the new file cannot be given) or is refused (a
// mount point, a folder spanning devices), the target itself is
// overwritten, but only once the whole new content lies flushed beside it.
// A target that exists and is not a regular file, or that the host will not
// let us write, is refused before anything is written.
void WriteFileSafely(std::string_view utf8Path, std::span<const std::uint8_t> bytes);

// Writes an extracted file: a FIFO, a character device or a terminal is
// written directly (nothing there to keep), as is the file that standard
// output goes to when the path reaches it through a link (/dev/stdout with
// output appended to a log); a block device or a folder is refused; any
// other path is saved by WriteFileSafely.
void WriteOutputFile(std::string_view utf8Path, std::span<const std::uint8_t> bytes);

// An open regular host file for reading, closed when it goes out of scope.
// Anything else (a FIFO, a device, a folder) is refused without being
// opened.
class HostInputFile {
 public:
  explicit HostInputFile(std::string_view utf8Path);
  HostInputFile(const HostInputFile&) = delete;
  HostInputFile& operator=(const HostInputFile&) = delete;
  ~HostInputFile();

  std::uintmax_t Size() const { return size_; }
  // Reads exactly out.size() bytes from the current position.
  void ReadExactly(std::span<std::uint8_t> out);

 private:
  std::string path_;
  std::intptr_t handle_ = -1;
  std::uintmax_t size_ = 0;
};

// An advisory lock that keeps other copies of this program from reading an
// image half-way through a change, or changing it under a reader. It
// belongs to the image's name, not to one version of its file, so it holds
// across the rename that a safe save ends with. Taken before the image is
// read, kept until its new version is in place. The exclusive holder also
// clears away the new files that saves of this image left when their
// process was killed (never one whose save is still running).
class ImageLock {
 public:
  enum class Mode { Shared, Exclusive };
  // Waits up to `wait` for other holders to let go, then throws HostIoError
  // saying the image is in use. A missing image throws as opening it would;
  // anything but a regular file is no image: it is left to the loader, and
  // not even opened.
  ImageLock(std::string_view utf8Path, Mode mode, std::chrono::milliseconds wait = kDefaultWait);
  ImageLock(const ImageLock&) = delete;
  ImageLock& operator=(const ImageLock&) = delete;
  ~ImageLock();

  static constexpr std::chrono::milliseconds kDefaultWait{5000};

 private:
  std::intptr_t handle_ = -1;
};

// Image files read one after another for listing, each under its shared
// ImageLock and only when it is a regular file. Where the host allows, the
// file is mapped into memory: nothing is copied, and only the pages looked
// at are read. Elsewhere it is read whole into a buffer kept for the next.
// Commands that change a disk load it into a DiskImageBuffer instead.
class ImageFileView {
 public:
  ImageFileView();
  ImageFileView(const ImageFileView&) = delete;
  ImageFileView& operator=(const ImageFileView&) = delete;
  ~ImageFileView();

  // Lets go of the file open before (Close), then opens and locks the one at
  // `utf8Path`: true when it is a regular file. Anything else is left
  // unopened (false); a missing file throws HostIoError, as do waits and
  // failures as ImageLock has them.
  bool Open(std::string_view utf8Path);
  std::uintmax_t Size() const;
  // All the open file's bytes, valid until the next Open. Host errors
  // throw HostIoError.
  std::span<const std::uint8_t> Bytes();
  // Throws HostIoError when the bytes given could not all be read: the file
  // shrank under the mapping, or the disk failed. What was read from them
  // is then worthless (the missing pages read as zeros, so nothing crashes).
  void CheckWhole() const;
  // Lets go of the file and its lock.
  void Close();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Asks the host to start reading the regular file at `utf8Path` into its
// cache and returns at once, so that the disk works while the program does.
// Only a hint: anything but a regular file is left unopened, and failures
// are ignored. True when the host was asked to read (the file was not in
// its cache already).
bool ReadAheadHostFile(std::string_view utf8Path);

namespace detail {
// A short name for a new file beside `target`, the same length whatever the
// target's name, so a long but valid name never becomes too long. It tells
// which target it was made for, so that one left behind is found again.
std::filesystem::path TemporaryNameBeside(const std::filesystem::path& target);
// Whether `name` (a file name alone) is one TemporaryNameBeside gives for
// `target`.
bool IsTemporaryNameOf(const std::filesystem::path& target, std::string_view name);
// What ImageLock throws when the wait is over.
HostIoError ImageInUse(const std::string& shown, std::chrono::milliseconds wait);
}  // namespace detail

}  // namespace vellonix::core
