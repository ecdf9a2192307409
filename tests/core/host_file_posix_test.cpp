// What a save asks of a POSIX host: the data flushed before the rename and
// the folder after it, the old file's mode, owner, attributes and hard
// links, special files left as they are, locks, and no trace left by a save
// a signal ends or kills. fsync and rename are defined here, in front of the
// C library's, to watch the order, to make a rename fail as a mount point
// would, and to hold or end a save in the middle.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>
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
// A save forked off as another process: killed in its n-th flush, or held
// in its first until a byte arrives on this descriptor.
int killAtFsync = 0;
int holdFsyncUntilReadable = -1;

}  // namespace

extern "C" int fsync(int fd) {
  struct stat status {};
  ::fstat(fd, &status);
  calls.push_back({S_ISDIR(status.st_mode) ? "fsync folder" : "fsync file", status.st_mode & 07777});
  if (killAtFsync > 0 && --killAtFsync == 0) ::raise(SIGKILL);
  char go = 0;
  if (holdFsyncUntilReadable >= 0 && ::read(std::exchange(holdFsyncUntilReadable, -1), &go, 1) < 0) ::_exit(2);
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
// written in place, only once the whole new file lies flushed beside it,
// where it is kept under a name of its own until the target is whole.
TEST_F(PosixHostFile, RenameRefusedByTheHostFallsBackToWritingInPlace) {
  for (const int error : {EXDEV, EBUSY}) {
    calls.clear();
    failRenamesWith = error;
    WriteFileSafely(dir_ / "old.mgt", new_);
    EXPECT_EQ(Order(), (std::vector<std::string>{"fsync file", "rename", "rename", "fsync file", "fsync folder"}));
    EXPECT_TRUE(ReadBytes(dir_ / "old.mgt") == new_);
    EXPECT_EQ(dir_.Listing(), std::set<std::string>{"old.mgt"});
  }
  failRenamesWith = EACCES;
  EXPECT_THROW(WriteFileSafely(dir_ / "old.mgt", old_), HostIoError);
  EXPECT_TRUE(ReadBytes(dir_ / "old.mgt") == new_);
  EXPECT_EQ(dir_.Listing(), std::set<std::string>{"old.mgt"});
}

// Extended attributes and ACLs stay as the old file had them, and the new
// file gains none, not even the ACL its folder lends to new files.
TEST_F(PosixHostFile, SavesKeepExtendedAttributesAndAclsAndGainNone) {
  const std::string image = dir_ / "old.mgt";
  if (::setxattr(image.c_str(), "user.vellonix.origin", "sam", 3, 0) != 0) GTEST_SKIP() << "no extended attributes";
  // Version 2 entries of tag, permissions and id: owner, one named user,
  // group, mask, others.
  const auto acl = [](std::uint32_t user, std::uint32_t permissions) {
    std::vector<std::uint8_t> bytes;
    const auto put = [&](std::uint32_t value, int size) {
      for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    put(2, 4);
    const std::uint32_t none = 0xFFFFFFFF;
    for (const auto& [tag, id] : {std::pair{0x01u, none}, {0x02u, user}, {0x04u, none}, {0x10u, none}, {0x20u, none}}) {
      put(tag, 2);
      put(tag == 0x20 ? 0 : permissions, 2);
      put(id, 4);
    }
    return bytes;
  };
  const auto access = acl(1234, 4), folderDefault = acl(4321, 6);
  const bool acls = ::setxattr(image.c_str(), "system.posix_acl_access", access.data(), access.size(), 0) == 0 &&
                    ::setxattr(dir_.Path().c_str(), "system.posix_acl_default", folderDefault.data(),
                               folderDefault.size(), 0) == 0;
  const auto attributes = [&] {
    std::map<std::string, std::vector<char>> all;
    std::vector<char> names(4096);
    const ssize_t listed = ::listxattr(image.c_str(), names.data(), names.size());
    names.resize(static_cast<std::size_t>(std::max<ssize_t>(0, listed)));
    for (std::size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
      std::vector<char> value(4096);
      value.resize(static_cast<std::size_t>(::getxattr(image.c_str(), names.data() + at, value.data(), value.size())));
      all.emplace(names.data() + at, value);
    }
    return all;
  };
  const auto before = attributes();
  WriteFileSafely(image, new_);
  EXPECT_EQ(attributes(), before);
  EXPECT_EQ(before.count("system.posix_acl_access"), acls ? 1u : 0u);
  EXPECT_TRUE(ReadBytes(image) == new_);
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

  // Listing and reading ahead never open it: a writer waiting stays waiting.
  auto writer = std::async(std::launch::async, [&] { return ::open(fifo.c_str(), O_WRONLY | O_CLOEXEC); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(ReadAheadHostFile(fifo));
  EXPECT_FALSE(ImageFileView().Open(fifo));
  EXPECT_EQ(writer.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  const int released = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  const int written = writer.get();
  EXPECT_GE(written, 0);
  ::close(written);
  ::close(released);
}

// Reading ahead asks the host only for a file it does not hold already.
TEST_F(PosixHostFile, ReadAheadAsksOnlyForWhatIsNotCached) {
  const std::string path = dir_ / "old.mgt";  // just written: cached
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  char byte = 0;
  iovec one{&byte, 1};
  if (::preadv2(fd, &one, 1, 0, RWF_NOWAIT) < 0 && errno == EOPNOTSUPP) {
    ::close(fd);
    GTEST_SKIP() << "this file system cannot say what it holds (the host is always asked)";
  }
  EXPECT_FALSE(ReadAheadHostFile(path));
  ASSERT_EQ(::fdatasync(fd), 0);
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  void* mapped = ::mmap(nullptr, old_.size(), PROT_READ, MAP_SHARED, fd, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  unsigned char resident = 0;
  ASSERT_EQ(::mincore(mapped, 1, &resident), 0);
  ::munmap(mapped, old_.size());
  ::close(fd);
  if ((resident & 1) != 0) GTEST_SKIP() << "this file system keeps its files in memory";
  EXPECT_TRUE(ReadAheadHostFile(path));
}

// Another program cutting an image short while a listing has it mapped:
// the lost pages read as zeros, the view says the file could not be read,
// and the next image is read as usual. A fault anywhere else still ends
// the program, as it would have without the guard.
TEST_F(PosixHostFile, ImageCutShortUnderItsViewIsReportedNotACrash) {
  const std::string image = dir_ / "cut.mgt";
  const std::vector<std::uint8_t> bytes = testing::RandomBytes(819200, 3);
  testing::WriteBytes(image, bytes);
  ImageFileView view;
  ASSERT_TRUE(view.Open(image));
  const std::span<const std::uint8_t> mapped = view.Bytes();
  ASSERT_EQ(::truncate(image.c_str(), 4096), 0);
  EXPECT_EQ(mapped[0], bytes[0]);
  EXPECT_EQ(*static_cast<const volatile std::uint8_t*>(&mapped[500000]), 0);
  EXPECT_THROW(view.CheckWhole(), HostIoError);

  testing::WriteBytes(image, bytes);
  ASSERT_TRUE(view.Open(image));
  EXPECT_TRUE(std::ranges::equal(view.Bytes(), bytes));
  EXPECT_NO_THROW(view.CheckWhole());

  const auto faultElsewhere = [&] {
    const int fd = ::open(image.c_str(), O_RDWR | O_CLOEXEC);
    const auto* other = static_cast<const volatile std::uint8_t*>(::mmap(nullptr, 8192, PROT_READ, MAP_SHARED, fd, 0));
    ::ftruncate(fd, 0);
    std::printf("%d", other[4096]);
  };
  EXPECT_EXIT(faultElsewhere(), [](int status) { return !WIFEXITED(status) || WEXITSTATUS(status) != 0; }, "");
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

// A save killed outright leaves its new file behind; the next command that
// takes the image's exclusive lock clears it away, but not the file of a
// save still running, nor one left by a save of another image.
TEST_F(PosixHostFile, ExclusiveLockClearsAwayWhatKilledSavesLeftAndNothingElse) {
  const std::string image = dir_ / "old.mgt";
  const auto saveInChild = [&](bool kill, int hold) {
    const pid_t child = ::fork();
    if (child == 0) {
      killAtFsync = kill ? 1 : 0;
      holdFsyncUntilReadable = hold;
      WriteFileSafely(image, new_);
      ::_exit(0);
    }
    return child;
  };
  int status = 0;
  const pid_t killed = saveInChild(true, -1);
  ASSERT_EQ(::waitpid(killed, &status, 0), killed);
  ASSERT_TRUE(WIFSIGNALED(status));
  const std::set<std::string> leftOver = dir_.Listing();
  ASSERT_EQ(leftOver.size(), 2u);

  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  const pid_t running = saveInChild(false, gate[0]);
  for (int wait = 0; wait < 500 && dir_.Listing().size() < 3; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::set<std::string> runningOnes = dir_.Listing();
  ASSERT_EQ(runningOnes.size(), 3u);
  const std::string other = detail::TemporaryNameBeside(dir_ / "other.mgt").filename();
  testing::WriteBytes(dir_.Path() / other, old_);

  { const ImageLock lock(image, ImageLock::Mode::Exclusive); }
  for (const std::string& name : leftOver) runningOnes.erase(name);
  runningOnes.insert({"old.mgt", other});
  EXPECT_EQ(dir_.Listing(), runningOnes);

  ASSERT_EQ(::write(gate[1], "g", 1), 1);
  ASSERT_EQ(::waitpid(running, &status, 0), running);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(ReadBytes(image) == new_);
  EXPECT_EQ(dir_.Listing(), (std::set<std::string>{"old.mgt", other}));
  ::close(gate[0]);
  ::close(gate[1]);
}

// A save killed while it overwrites a hard-linked file in place leaves the
// whole new content beside it, which no later command clears away.
TEST_F(PosixHostFile, SaveKilledWhileWritingInPlaceKeepsTheNewContentBeside) {
  ASSERT_EQ(::link((dir_ / "old.mgt").c_str(), (dir_ / "alias.mgt").c_str()), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    killAtFsync = 2;  // the old file's, after the new one's
    WriteFileSafely(dir_ / "alias.mgt", new_);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  { const ImageLock lock(dir_ / "old.mgt", ImageLock::Mode::Exclusive); }
  std::set<std::string> names = dir_.Listing();
  ASSERT_EQ(names.size(), 3u);
  names.erase("old.mgt");
  names.erase("alias.mgt");
  EXPECT_TRUE(names.begin()->ends_with(".new")) << *names.begin();
  EXPECT_TRUE(ReadBytes(dir_.Path() / *names.begin()) == new_);
}

}  // namespace
}  // namespace vellonix::core
