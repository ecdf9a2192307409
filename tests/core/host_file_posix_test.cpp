// What a save asks of a POSIX host: the data flushed before the rename and
// the folder after it, the old file's mode and owner, special files left
// as they are, locks, and no trace left by a save a signal ends. fsync and
// rename are defined here, in front of the C library's, to watch the order
// and to make a rename fail as a mount point would.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "scratch_dir.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/image_file.hpp"

namespace {

struct Call {
  std::string What;  // "fsync file", "fsync folder", "rename"
  mode_t Mode = 0;   // of the file flushed
};
std::vector<Call> calls;
int failRenamesWith = 0;

}  // namespace

extern "C" int fsync(int fd) {
  struct stat status {};
  ::fstat(fd, &status);
  calls.push_back({S_ISDIR(status.st_mode) ? "fsync folder" : "fsync file", status.st_mode & 07777});
  static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
  return real(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
  calls.push_back({"rename"});
  if (failRenamesWith != 0) {
    errno = failRenamesWith;
    return -1;
  }
  static const auto real = reinterpret_cast<int (*)(const char*, const char*)>(::dlsym(RTLD_NEXT, "rename"));
  return real(from, to);
}

namespace vellonix::core {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;

class PosixHostFile : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    failRenamesWith = 0;
    testing::WriteBytes(dir_.Path() / "old.mgt", old_);
  }
  std::string Fifo(const std::string& name) const {
    const std::string path = dir_ / name;
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
    return path;
  }
  std::vector<std::string> Order() const {
    std::vector<std::string> order;
    for (const Call& call : calls) order.push_back(call.What);
    return order;
  }

  testing::ScratchDir dir_;
  const std::vector<std::uint8_t> old_ = testing::RandomBytes(1000, 1);
  const std::vector<std::uint8_t> new_ = testing::RandomBytes(2000, 2);
};

TEST_F(PosixHostFile, DataReachesTheDiskWithTheOldModeBeforeTheRenameAndTheFolderAfter) {
  ASSERT_EQ(::chmod((dir_ / "old.mgt").c_str(), 0640), 0);
  WriteFileSafely(dir_ / "old.mgt", new_);
  EXPECT_EQ(Order(), (std::vector<std::string>{"fsync file", "rename", "fsync folder"}));
  EXPECT_EQ(calls.front().Mode, 0640u);
  EXPECT_TRUE(ReadBytes(dir_ / "old.mgt") == new_);
}

// A target that a rename cannot replace (a mount point, another device) is
// written in place, only once the whole new file lies flushed beside it.
TEST_F(PosixHostFile, RenameRefusedByTheHostFallsBackToWritingInPlace) {
  for (const int error : {EXDEV, EBUSY}) {
    calls.clear();
    failRenamesWith = error;
    WriteFileSafely(dir_ / "old.mgt", new_);
    EXPECT_EQ(Order(), (std::vector<std::string>{"fsync file", "rename", "fsync file", "fsync folder"}));
    EXPECT_TRUE(ReadBytes(dir_ / "old.mgt") == new_);
    EXPECT_EQ(dir_.Listing(), std::set<std::string>{"old.mgt"});
  }
  failRenamesWith = EACCES;
  EXPECT_THROW(WriteFileSafely(dir_ / "old.mgt", old_), HostIoError);
  EXPECT_TRUE(ReadBytes(dir_ / "old.mgt") == new_);
  EXPECT_EQ(dir_.Listing(), std::set<std::string>{"old.mgt"});
}

TEST_F(PosixHostFile, RootSavingSomeoneElsesImageKeepsItTheirs) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the file to another user";
  ASSERT_EQ(::chown((dir_ / "old.mgt").c_str(), 4321, 4322), 0);
  WriteFileSafely(dir_ / "old.mgt", new_);
  struct stat status {};
  ASSERT_EQ(::stat((dir_ / "old.mgt").c_str(), &status), 0);
  EXPECT_EQ(status.st_uid, 4321u);
  EXPECT_EQ(status.st_gid, 4322u);
}

// A FIFO named as an image is no image, and asking must not wait for a
// writer; saves never replace one; extracted bytes go into it.
TEST_F(PosixHostFile, FifosAreNeverImagesNorReplacedButTakeExtractedBytes) {
  const std::string fifo = Fifo("pipe.mgt");
  auto disk = std::make_unique<DiskImageBuffer>();
  EXPECT_FALSE(LoadImageFile(fifo, *disk).has_value());
  EXPECT_THROW(HostInputFile{fifo}, HostIoError);
  EXPECT_THROW(WriteFileSafely(fifo, new_), HostIoError);
  EXPECT_EQ(KindOfHostFile(fifo), HostFileKind::Fifo);

  auto reader = std::async(std::launch::async, [&] { return ReadBytes(fifo); });
  WriteOutputFile(fifo, new_);
  EXPECT_TRUE(reader.get() == new_);
  EXPECT_EQ(KindOfHostFile(fifo), HostFileKind::Fifo);
}

TEST_F(PosixHostFile, DeviceNodesAreWrittenOrRefusedButNeverReplaced) {
  const std::string null = dir_ / "null", block = dir_ / "block";
  if (::mknod(null.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0 ||
      ::mknod(block.c_str(), S_IFBLK | 0600, ::makedev(7, 200)) != 0) {
    GTEST_SKIP() << "cannot make device nodes here (needs root)";
  }
  WriteOutputFile(null, new_);
  EXPECT_EQ(KindOfHostFile(null), HostFileKind::CharacterDevice);
  EXPECT_THROW(WriteFileSafely(null, new_), HostIoError);
  EXPECT_THROW(WriteOutputFile(block, new_), HostIoError);
  EXPECT_THROW(WriteFileSafely(block, new_), HostIoError);
  EXPECT_EQ(KindOfHostFile(block), HostFileKind::BlockDevice);
}

// A save ended by a signal (here the file size limit) leaves the old file
// and nothing else.
TEST_F(PosixHostFile, SaveEndedBySignalLeavesNoNewFileBehind) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_DFL);
    rlimit small{};
    ::getrlimit(RLIMIT_FSIZE, &small);
    small.rlim_cur = 512;
    ::setrlimit(RLIMIT_FSIZE, &small);
    try {
      WriteFileSafely(dir_ / "old.mgt", new_);
    } catch (...) {
    }
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
  EXPECT_TRUE(ReadBytes(dir_ / "old.mgt") == old_);
  EXPECT_EQ(dir_.Listing(), std::set<std::string>{"old.mgt"});
}

}  // namespace
}  // namespace vellonix::core
