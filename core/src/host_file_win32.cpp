// Host files on Windows: UTF-16 paths, FlushFileBuffers, MoveFileExW and
// LockFileEx.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "vellonix/core/host_file.hpp"

namespace vellonix::core {

namespace fs = std::filesystem;

namespace {

std::error_code LastErrorCode(DWORD error = ::GetLastError()) {
  return {static_cast<int>(error != 0 ? error : ERROR_GEN_FAILURE), std::system_category()};
}

[[noreturn]] void ThrowLastError(const std::string& shown, DWORD error = ::GetLastError()) {
  throw HostIoError(LastErrorCode(error), shown);
}

[[noreturn]] void ThrowNotRegular(HostFileKind kind, const std::string& shown) {
  if (kind == HostFileKind::Directory) throw HostIoError(std::make_error_code(std::errc::is_a_directory), shown);
  throw HostIoError(std::make_error_code(std::errc::invalid_argument), shown, "not a regular file");
}

class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Reset(); }
  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
  void Reset(HANDLE handle = INVALID_HANDLE_VALUE) {
    if (Valid()) ::CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens what a path names without reading it: folders need the backup flag,
// and no access right is asked for, so devices and pipes open too.
Handle OpenForQuery(const fs::path& path) {
  return Handle(::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

HostFileKind KindOfHandle(HANDLE handle) {
  switch (::GetFileType(handle)) {
    case FILE_TYPE_CHAR:
      return HostFileKind::CharacterDevice;
    case FILE_TYPE_PIPE:
      return HostFileKind::Fifo;
    case FILE_TYPE_DISK: {
      BY_HANDLE_FILE_INFORMATION info{};
      if (!::GetFileInformationByHandle(handle, &info)) return HostFileKind::Other;
      return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? HostFileKind::Directory : HostFileKind::Regular;
    }
    default:
      return HostFileKind::Other;
  }
}

HostFileKind KindOfPath(const fs::path& path, const std::string& shown) {
  const Handle handle = OpenForQuery(path);
  if (!handle.Valid()) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return HostFileKind::Missing;
    ThrowLastError(shown, error);
  }
  return KindOfHandle(handle.Get());
}

void WriteAll(HANDLE handle, std::span<const std::uint8_t> bytes, const std::string& shown) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(handle, bytes.data(), chunk, &written, nullptr)) ThrowLastError(shown);
    bytes = bytes.subspan(written);
  }
}

// While a save's new file exists, Ctrl+C, Ctrl+Break and closing the
// console remove it before the process ends.
std::wstring pendingPath;
bool pendingSet = false;

BOOL WINAPI RemovePendingOnControl(DWORD) {
  if (pendingSet) ::DeleteFileW(pendingPath.c_str());
  return FALSE;  // go on to the default handling, which ends the process
}

class PendingTemporary {
 public:
  PendingTemporary(const fs::path& target, const std::string& shown) {
    for (int attempt = 0; attempt < 100 && !handle_.Valid(); ++attempt) {
      path_ = detail::TemporaryNameBeside(target);
      pendingPath = path_.native();
      pendingSet = true;
      handle_.Reset(::CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
      if (handle_.Valid()) {
        ::SetConsoleCtrlHandler(RemovePendingOnControl, TRUE);
        return;
      }
      const DWORD error = ::GetLastError();
      pendingSet = false;
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) ThrowLastError(shown, error);
    }
    ThrowLastError(shown, ERROR_FILE_EXISTS);
  }
  PendingTemporary(const PendingTemporary&) = delete;
  PendingTemporary& operator=(const PendingTemporary&) = delete;
  ~PendingTemporary() {
    handle_.Reset();
    if (!kept_) ::DeleteFileW(path_.c_str());
    pendingSet = false;
    ::SetConsoleCtrlHandler(RemovePendingOnControl, FALSE);
  }

  HANDLE Get() const { return handle_.Get(); }
  const fs::path& Path() const { return path_; }
  // Kept open until it is in place: while it is, no other program can
  // open it to delete it (RemoveStaleTemporaries), and it can still be
  // renamed, since it is shared for deletion.
  void Keep() {
    kept_ = true;
    handle_.Reset();
  }

 private:
  fs::path path_;
  Handle handle_;
  bool kept_ = false;
};

// Writes to something that is not ours to replace: a pipe or a device.
void WriteDirectly(const fs::path& path, std::span<const std::uint8_t> bytes, const std::string& shown) {
  const Handle handle(::CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!handle.Valid()) ThrowLastError(shown);
  WriteAll(handle.Get(), bytes, shown);
}

// Windows will not rename a file over one that anything has open at that
// moment, even only to look at it: another copy of this program asking
// what the path names, a virus scanner, the search indexer. Such opens are
// brief, so the rename is tried again for a while before it counts as
// failed.
void MoveOver(const fs::path& from, const fs::path& to, const std::string& shown) {
  constexpr DWORD kFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  auto pause = std::chrono::milliseconds(1);
  while (!::MoveFileExW(from.c_str(), to.c_str(), kFlags)) {
    const DWORD error = ::GetLastError();
    if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) ||
        std::chrono::steady_clock::now() >= deadline) {
      ThrowLastError(shown, error);
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}

// Clears away the new files that saves of `target` left beside it when
// their process was ended. A save in progress keeps its file open, so only
// one that nobody has open can be opened for deletion here, unshared.
void RemoveStaleTemporaries(const fs::path& target) {
  const fs::path folder = target.parent_path();
  std::error_code error;
  for (fs::directory_iterator it(folder.empty() ? fs::path(L".") : folder, error), end; !error && it != end;
       it.increment(error)) {
    const auto name = it->path().filename().u8string();
    std::error_code ignored;
    if (!detail::IsTemporaryNameOf(target, std::string_view(reinterpret_cast<const char*>(name.data()), name.size())) ||
        it->is_symlink(ignored) || !it->is_regular_file(ignored)) {
      continue;
    }
    const Handle stale(::CreateFileW(it->path().c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  }
}

}  // namespace

HostFileKind KindOfHostFile(std::string_view utf8Path) {
  return KindOfPath(PathFromUtf8(utf8Path), std::string(utf8Path));
}

bool SameHostFile(std::string_view utf8PathA, std::string_view utf8PathB) {
  const Handle a = OpenForQuery(PathFromUtf8(utf8PathA));
  const Handle b = OpenForQuery(PathFromUtf8(utf8PathB));
  BY_HANDLE_FILE_INFORMATION infoA{}, infoB{};
  return a.Valid() && b.Valid() && ::GetFileInformationByHandle(a.Get(), &infoA) &&
         ::GetFileInformationByHandle(b.Get(), &infoB) && infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
         infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
}

void WriteFileSafely(std::string_view utf8Path, std::span<const std::uint8_t> bytes) {
  const std::string shown(utf8Path);
  const fs::path target = ResolveSaveTarget(PathFromUtf8(utf8Path));
  const HostFileKind kind = KindOfPath(target, shown);
  bool linked = false;
  if (kind != HostFileKind::Missing) {
    if (kind != HostFileKind::Regular) ThrowNotRegular(kind, shown);
    // The host decides who may write it: a read-only file, or one whose
    // rights say no, refuses the open.
    const Handle probe(::CreateFileW(target.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!probe.Valid()) ThrowLastError(shown);
    BY_HANDLE_FILE_INFORMATION info{};
    linked = ::GetFileInformationByHandle(probe.Get(), &info) && info.nNumberOfLinks > 1;
  }

  PendingTemporary temporary(target, shown);
  WriteAll(temporary.Get(), bytes, shown);
  if (!::FlushFileBuffers(temporary.Get())) ThrowLastError(shown);
  if (!linked) {
    MoveOver(temporary.Path(), target, shown);
    return temporary.Keep();
  }
  // Every name of a file with more than one must see the new image: it is
  // overwritten in place, now that the whole of it lies flushed beside it.
  const Handle file(::CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.Valid()) ThrowLastError(shown);
  WriteAll(file.Get(), bytes, shown);
  if (!::SetEndOfFile(file.Get()) || !::FlushFileBuffers(file.Get())) ThrowLastError(shown);
}

void WriteOutputFile(std::string_view utf8Path, std::span<const std::uint8_t> bytes) {
  const std::string shown(utf8Path);
  const fs::path path = PathFromUtf8(utf8Path);
  const HostFileKind kind = KindOfPath(path, shown);
  if (kind == HostFileKind::Directory) ThrowNotRegular(kind, shown);
  if (kind == HostFileKind::CharacterDevice || kind == HostFileKind::Fifo) return WriteDirectly(path, bytes, shown);
  WriteFileSafely(utf8Path, bytes);
}

HostInputFile::HostInputFile(std::string_view utf8Path) : path_(utf8Path) {
  Handle handle(::CreateFileW(PathFromUtf8(utf8Path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!handle.Valid()) ThrowLastError(path_);
  const HostFileKind kind = KindOfHandle(handle.Get());
  if (kind != HostFileKind::Regular) ThrowNotRegular(kind, path_);
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(handle.Get(), &size)) ThrowLastError(path_);
  size_ = static_cast<std::uintmax_t>(size.QuadPart);
  handle_ = reinterpret_cast<std::intptr_t>(handle.Release());
}

HostInputFile::~HostInputFile() {
  if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

void HostInputFile::ReadExactly(std::span<std::uint8_t> out) {
  while (!out.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(out.size(), 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(reinterpret_cast<HANDLE>(handle_), out.data(), chunk, &got, nullptr)) ThrowLastError(path_);
    // A file that shrank while it was read ends early.
    if (got == 0) throw HostIoError(std::make_error_code(std::errc::io_error), path_);
    out = out.subspan(got);
  }
}

// Listing reads each image whole into a buffer kept for the next: a mapped
// image could not be replaced by a save while the listing looks at it.
struct ImageFileView::State {
  std::optional<ImageLock> lock;
  std::optional<HostInputFile> file;
  std::vector<std::uint8_t> read;
  bool whole = false;
};

ImageFileView::ImageFileView() : state_(std::make_unique<State>()) {}
ImageFileView::~ImageFileView() = default;

bool ImageFileView::Open(std::string_view utf8Path) {
  Close();
  State& state = *state_;
  state.lock.emplace(utf8Path, ImageLock::Mode::Shared);
  if (KindOfHostFile(utf8Path) != HostFileKind::Regular) return false;
  state.file.emplace(utf8Path);
  return true;
}

std::uintmax_t ImageFileView::Size() const { return state_->file ? state_->file->Size() : 0; }

std::span<const std::uint8_t> ImageFileView::Bytes() {
  State& state = *state_;
  if (!state.file) return {};
  if (!state.whole) {
    state.read.resize(static_cast<std::size_t>(state.file->Size()));
    state.file->ReadExactly(state.read);
    state.whole = true;
  }
  return state.read;
}

void ImageFileView::Close() {
  state_->file.reset();
  state_->lock.reset();
  state_->whole = false;
}

// A read that fails says so as it happens.
void ImageFileView::CheckWhole() const {}

// The plain path: Windows reads ahead within a file read in sequence, and
// is asked nothing across files.
bool ReadAheadHostFile(std::string_view) { return false; }

// Windows will not rename a new file over one that is open, so the lock
// cannot be held on the image itself: it is a small hidden file beside it,
// deleted when its last holder lets go. While a holder has it open, the
// name cannot be created anew (its deletion is pending), so there is only
// ever one lock file per image to agree on.
ImageLock::ImageLock(std::string_view utf8Path, Mode mode, std::chrono::milliseconds wait) {
  const std::string shown(utf8Path);
  const fs::path image = ResolveSaveTarget(PathFromUtf8(utf8Path));
  const HostFileKind kind = KindOfPath(image, shown);
  if (kind == HostFileKind::Missing) ThrowLastError(shown, ERROR_FILE_NOT_FOUND);
  if (kind != HostFileKind::Regular) return;  // no image; the loader says so
  fs::path lockPath = image;
  lockPath += L".lock";

  const auto deadline = std::chrono::steady_clock::now() + wait;
  auto pause = std::chrono::milliseconds(2);
  const auto waitOrGiveUp = [&] {
    if (std::chrono::steady_clock::now() >= deadline) throw detail::ImageInUse(shown, wait);
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  };
  Handle handle;
  int deniedWhileAbsent = 0;
  while (!handle.Valid()) {
    handle.Reset(::CreateFileW(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (handle.Valid()) break;
    const DWORD error = ::GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) ThrowLastError(shown, error);
    // Refused while the lock file is there: its deletion is pending until
    // the holders still in it let go. Refused while it is not: that
    // deletion may have ended just now, so try again at once; refused
    // again and again, the folder may not be written, and images nobody can
    // change need no lock to be read.
    const bool absent = ::GetFileAttributesW(lockPath.c_str()) == INVALID_FILE_ATTRIBUTES &&
                        ::GetLastError() == ERROR_FILE_NOT_FOUND;
    if (!absent) {
      deniedWhileAbsent = 0;
      waitOrGiveUp();
    } else if (++deniedWhileAbsent >= 3) {
      if (mode == Mode::Shared) return;
      ThrowLastError(shown, error);
    }
  }
  const DWORD flags = (mode == Mode::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0) | LOCKFILE_FAIL_IMMEDIATELY;
  for (;;) {
    OVERLAPPED whole{};
    if (::LockFileEx(handle.Get(), flags, 0, MAXDWORD, MAXDWORD, &whole)) break;
    const DWORD error = ::GetLastError();
    if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) ThrowLastError(shown, error);
    waitOrGiveUp();
  }
  handle_ = reinterpret_cast<std::intptr_t>(handle.Release());
  if (mode == Mode::Exclusive) RemoveStaleTemporaries(image);
}

ImageLock::~ImageLock() {
  // Closing lets go of the lock, and the last holder's close deletes the file.
  if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

}  // namespace vellonix::core
