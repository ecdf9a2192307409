// A host limit on the size of files this process writes, for tests of
// saves that fail half-way: writes past the limit fail with EFBIG (the
// signal the host would send is ignored meanwhile). POSIX hosts only;
// elsewhere Active() is false.
#pragma once

#if defined(__unix__) || defined(__APPLE__)
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#endif

#include <cstdint>

namespace vellonix::testing {

class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(std::uintmax_t bytes) {
#if defined(__unix__) || defined(__APPLE__)
    if (getrlimit(RLIMIT_FSIZE, &saved_) != 0) return;
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved_;
    small.rlim_cur = std::min<rlim_t>(static_cast<rlim_t>(bytes), saved_.rlim_max);
    active_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
#else
    (void)bytes;
#endif
  }
  ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
  ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;
  ~ScopedFileSizeLimit() {
#if defined(__unix__) || defined(__APPLE__)
    if (active_) setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
#endif
  }
  bool Active() const { return active_; }

 private:
  bool active_ = false;
#if defined(__unix__) || defined(__APPLE__)
  rlimit saved_{};
  void (*oldHandler_)(int) = SIG_DFL;
#endif
};

}  // namespace vellonix::testing
