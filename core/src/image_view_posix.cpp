// Image files mapped for listing on POSIX hosts, guarded against a file
// that shrinks under the mapping, and the read-ahead hint.
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "host_file_posix.hpp"

namespace vellonix::core {

using posix::Descriptor;

namespace {

// Touching a page of a mapping that the file no longer has (another
// program cut it short, or the disk failed) raises SIGBUS, which would end
// the program. While a view is mapped, its handler puts a page of zeros in
// the lost page's place, notes the loss and lets the read go on; the view
// then reports the file as unreadable. One view is guarded at a time.
std::atomic<std::uintptr_t> guardedStart{0};
std::atomic<std::uintptr_t> guardedEnd{0};
std::atomic<bool> pagesLost{false};
std::atomic<bool> guardTaken{false};
std::uintptr_t pageSize = 4096;
struct sigaction previousBusAction {};

extern "C" void ReplaceLostPage(int signal, siginfo_t* info, void*) {
  const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
  if (info->si_code > 0 && address >= guardedStart.load() && address < guardedEnd.load()) {
    void* page = reinterpret_cast<void*>(address & ~(pageSize - 1));
    if (::mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
      pagesLost.store(true);
      return;  // the read is made again, and finds zeros
    }
  }
  // Not ours: handled as it would have been without us. A fault comes back
  // when the instruction is tried again; a signal sent is sent again.
  ::sigaction(SIGBUS, &previousBusAction, nullptr);
  if (info->si_code <= 0) ::raise(signal);
}

// Reads the whole file where it cannot be mapped.
void ReadWhole(int fd, std::vector<std::uint8_t>& into, const std::string& shown) {
  std::size_t done = 0;
  while (done < into.size()) {
    const ssize_t got = ::pread(fd, into.data() + done, into.size() - done, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) posix::ThrowErrno(shown);
    // A file that shrank while it was read ends early without an errno.
    if (got == 0) throw HostIoError(std::make_error_code(std::errc::io_error), shown);
    done += static_cast<std::size_t>(got);
  }
}

// Whether the file's first and last bytes are in the host's cache already,
// asked without waiting for the disk. A collection read a moment ago is
// there whole, and asking the host to read it ahead again costs a tenth of
// what listing it does.
bool LooksCached(int fd, off_t size) {
  if (size <= 0) return true;
  for (const off_t at : {off_t{0}, size - 1}) {
    char byte = 0;
    iovec one{&byte, 1};
    if (::preadv2(fd, &one, 1, at, RWF_NOWAIT) != 1) return false;
  }
  return true;
}

}  // namespace

struct ImageFileView::State {
  std::string shown;
  Descriptor fd;  // holds the shared lock
  std::uintmax_t size = 0;
  void* mapped = nullptr;
  std::size_t mappedLength = 0;
  std::vector<std::uint8_t> read;  // where the file could not be mapped
  bool guarding = false;           // this view's mappings are the guarded ones

  ~State() {
    Unmap();
    if (guarding) {
      ::sigaction(SIGBUS, &previousBusAction, nullptr);
      guardTaken.store(false);
    }
  }
  void Unmap() {
    if (mapped == nullptr) return;
    guardedEnd.store(0);
    guardedStart.store(0);
    ::munmap(mapped, mappedLength);
    mapped = nullptr;
  }
  // Takes the guard for this view, unless another has it (the file is then read).
  bool Guard() {
    if (guarding) return true;
    if (guardTaken.exchange(true)) return false;
    pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction ours {};
    ours.sa_sigaction = ReplaceLostPage;
    ours.sa_flags = SA_SIGINFO;
    sigemptyset(&ours.sa_mask);
    guarding = ::sigaction(SIGBUS, &ours, &previousBusAction) == 0;
    if (!guarding) guardTaken.store(false);
    return guarding;
  }
};

ImageFileView::ImageFileView() : state_(std::make_unique<State>()) {}
ImageFileView::~ImageFileView() = default;

bool ImageFileView::Open(std::string_view utf8Path) {
  Close();
  State& state = *state_;
  state.shown.assign(utf8Path);
  struct stat status {};
  if (!posix::OpenLocked(PathFromUtf8(utf8Path), state.shown, ImageLock::Mode::Shared, ImageLock::kDefaultWait,
                         state.fd, status)) {
    return false;
  }
  state.size = static_cast<std::uintmax_t>(status.st_size);
  return true;
}

std::uintmax_t ImageFileView::Size() const { return state_->size; }

std::span<const std::uint8_t> ImageFileView::Bytes() {
  State& state = *state_;
  const auto length = static_cast<std::size_t>(state.size);
  if (state.fd.Get() < 0 || length == 0) return {};
  if (state.mapped != nullptr) return {static_cast<const std::uint8_t*>(state.mapped), length};
  if (state.Guard()) {
    void* at = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, state.fd.Get(), 0);
    if (at != MAP_FAILED) {
      state.mapped = at;
      state.mappedLength = length;
      pagesLost.store(false);
      guardedStart.store(reinterpret_cast<std::uintptr_t>(at));
      guardedEnd.store(reinterpret_cast<std::uintptr_t>(at) + length);
      return {static_cast<const std::uint8_t*>(at), length};
    }
  }
  state.read.resize(length);
  ReadWhole(state.fd.Get(), state.read, state.shown);
  return state.read;
}

void ImageFileView::CheckWhole() const {
  if (state_->mapped == nullptr || !pagesLost.load()) return;
  throw HostIoError(std::make_error_code(std::errc::io_error), state_->shown,
                    "could not be read whole (it changed while it was being read, or the disk failed); try again");
}

void ImageFileView::Close() {
  state_->Unmap();
  state_->fd.Reset();
  state_->size = 0;
}

bool ReadAheadHostFile(std::string_view utf8Path) {
  Descriptor fd;
  struct stat status {};
  try {
    if (posix::OpenIfRegular(PathFromUtf8(utf8Path), std::string(utf8Path), fd, status) != HostFileKind::Regular) {
      return false;
    }
  } catch (const HostIoError&) {
    return false;  // reading it in earnest will say what is wrong
  }
  if (LooksCached(fd.Get(), status.st_size)) return false;
  ::posix_fadvise(fd.Get(), 0, 0, POSIX_FADV_WILLNEED);
  return true;
}

}  // namespace vellonix::core
