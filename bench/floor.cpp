// The floors the benchmarks measure vellonix-cli against: the least a
// program can do with an image file. Statically linked, so that it starts
// as fast as a program can.
//   vellonix-floor read FILE...   each file with one read into a static buffer
//   vellonix-floor write FILE     819,200 bytes with one write, then a flush
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

namespace {

constexpr unsigned long kImageBytes = 819222;  // the larger container, SAD
char buffer[kImageBytes];

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  if (std::strcmp(argv[1], "read") == 0) {
    for (int i = 2; i < argc; ++i) {
      const int fd = ::open(argv[i], O_RDONLY | O_CLOEXEC);
      if (fd < 0 || ::read(fd, buffer, sizeof buffer) < 0) return 1;
      ::close(fd);
    }
    return 0;
  }
  if (std::strcmp(argv[1], "write") == 0 && argc == 3) {
    const int fd = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0 || ::write(fd, buffer, 819200) != 819200 || ::fsync(fd) != 0) return 1;
    return ::close(fd) == 0 ? 0 : 1;
  }
  return 2;
}
