// The Linux drive on image files standing in for a floppy: the whole-disk
// transfers byte for byte in MGT order, saved as a whole, the refusals, the
// runs that no SAM disk has, and one transfer at a time; on a loop device,
// the flush that makes a save count. fsync and fdatasync are defined here,
// in front of the C library's, to count them.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "loop_device.hpp"
#include "scratch_dir.hpp"
#include "scripted_drive.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/physdisk/host_drive.hpp"

namespace {

int blockDeviceFlushes = 0;
int fileDataFlushes = 0;

bool IsBlockDevice(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 && S_ISBLK(status.st_mode);
}

}  // namespace

extern "C" int fsync(int fd) {
  blockDeviceFlushes += IsBlockDevice(fd) ? 1 : 0;
  static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
  return real(fd);
}

extern "C" int fdatasync(int fd) {
  ++fileDataFlushes;
  static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fdatasync"));
  return real(fd);
}

namespace vellonix::physdisk {
namespace {

ino_t InodeOf(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status.st_ino;
}

using vellonix::testing::ReadBytes;
using vellonix::testing::RandomBytes;
using vellonix::testing::ScratchDir;

TEST(PosixFloppy, AnImageFileStandsInForTheDrive) {
  const ScratchDir dir;
  const std::string path = dir / "drive.img";
  const std::vector<std::uint8_t> content = RandomBytes(core::kMgtFileSize, 11);
  vellonix::testing::WriteBytes(path, content);
  const auto drive = OpenHostDrive(path);
  vellonix::testing::RecordingProgress progress;

  // No geometry to set on a file; the load goes on regardless.
  EXPECT_FALSE(drive->SetMediaType(1, 79, 10));
  EXPECT_NE(drive->LastError().find("not a floppy drive"), std::string::npos) << drive->LastError();
  auto disk = std::make_unique<core::DiskImageBuffer>();
  ASSERT_EQ(LoadSamDisk(*drive, *disk, progress), std::nullopt) << drive->LastError();
  EXPECT_EQ(vellonix::testing::MgtOf(*disk), content);

  // Saved as every image is: a whole new file in its place, so that a save
  // ended at any moment leaves the old disk or the new one, never a mix.
  const auto other = RandomBytes(core::kDiskBytes, 12);
  std::copy(other.begin(), other.end(), disk->begin());
  const ino_t before = InodeOf(path);
  fileDataFlushes = 0;
  ASSERT_EQ(SaveSamDisk(*drive, *disk, progress), std::nullopt) << drive->LastError();
  EXPECT_EQ(ReadBytes(path), vellonix::testing::MgtOf(*disk));
  EXPECT_NE(InodeOf(path), before);
  EXPECT_EQ(fileDataFlushes, 0);  // not one per sector
  EXPECT_EQ(dir.Listing(), std::set<std::string>{"drive.img"});
}

TEST(PosixFloppy, RefusesWhatIsNoDriveBeforeTouchingIt) {
  const ScratchDir dir;
  std::filesystem::create_directory(dir / "folder");
  const struct {
    std::string Path;
    const char* Says;
  } cases[] = {
      {dir.WriteFilled("short.img", core::kMgtFileSize - 1, 'x'), "refused"},
      {dir.WriteFilled("long.img", core::kMgtFileSize + 1, 'x'), "refused"},
      {dir.WriteFilled("sad.sad", core::kDiskBytes + 22, 'x'), "refused"},
      {dir / "folder", "refused"},
      {"/dev/null", "refused"},
      {dir / "missing.img", "No such file"},
  };
  const std::array<std::uint8_t, 512> sector{};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Path);
    const bool file = std::filesystem::is_regular_file(c.Path);
    const auto before = file ? ReadBytes(c.Path) : std::vector<std::uint8_t>{};
    const auto drive = OpenHostDrive(c.Path);
    EXPECT_FALSE(drive->Acquire());
    EXPECT_FALSE(drive->WriteSectors(1, 0, 0, 1, 1, sector));
    EXPECT_NE(drive->LastError().find(c.Says), std::string::npos) << drive->LastError();
    EXPECT_EQ(drive->LastError().rfind(c.Path, 0), 0u) << drive->LastError();
    EXPECT_EQ(file ? ReadBytes(c.Path) : std::vector<std::uint8_t>{}, before);
  }
}

TEST(PosixFloppy, RefusesRunsNoSamDiskHasAndOtherDrives) {
  const ScratchDir dir;
  const std::string path = dir.WriteFilled("drive.img", core::kMgtFileSize, 'k');
  const auto drive = OpenHostDrive(path);
  std::array<std::uint8_t, 2 * 512> buffer{};
  const struct {
    const char* Name;
    std::uint8_t Drive, Track, Side, Sector, Count;
  } cases[] = {{"drive 2", 2, 0, 0, 1, 1},  {"track 80", 1, 80, 0, 1, 1}, {"side 2", 1, 0, 2, 1, 1},
               {"sector 0", 1, 0, 0, 0, 1}, {"past the track", 1, 0, 0, 10, 2}, {"no sectors", 1, 0, 0, 1, 0},
               {"more than the buffer", 1, 0, 0, 1, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_FALSE(drive->ReadSectors(c.Drive, c.Track, c.Side, c.Sector, c.Count, buffer));
    EXPECT_FALSE(drive->WriteSectors(c.Drive, c.Track, c.Side, c.Sector, c.Count, buffer));
  }
  EXPECT_EQ(ReadBytes(path), std::vector<std::uint8_t>(core::kMgtFileSize, 'k'));
  // Drive 0 is the first drive too; the last sector of the disk is the file's last.
  std::array<std::uint8_t, 512> last{};
  last.fill(0x5A);
  EXPECT_TRUE(drive->WriteSectors(0, 79, 1, 10, 1, last));
  EXPECT_EQ(ReadBytes(path).back(), 0x5A);
}

// An image file is locked as every command locks an image. A drive that
// waits for another holder, which saves a new file under the name, then
// reads that file, not the one it found first.
TEST(PosixFloppy, OneTransferAtATimeAndTheWaiterTakesTheFileSavedMeanwhile) {
  const ScratchDir dir;
  const std::string path = dir.WriteFilled("drive.img", core::kMgtFileSize);
  const auto first = OpenHostDrive(path);
  const auto second = OpenHostDrive(path);
  ASSERT_TRUE(first->Acquire());
  const auto saved = RandomBytes(core::kMgtFileSize, 13);
  std::thread holder([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    core::WriteFileSafely(path, saved);
    first->Release();
  });
  ASSERT_TRUE(second->Acquire()) << second->LastError();
  holder.join();
  auto disk = std::make_unique<core::DiskImageBuffer>();
  vellonix::testing::RecordingProgress progress;
  ASSERT_EQ(LoadSamDisk(*second, *disk, progress), std::nullopt) << second->LastError();
  EXPECT_EQ(vellonix::testing::MgtOf(*disk), saved);
}

// A loop device writes into its file's page cache: the save flushes it.
TEST(PosixFloppy, ASaveToALoopDeviceEndsWithAFlush) {
  const ScratchDir dir;
  const vellonix::testing::LoopDevice loop(dir.WriteFilled("backing.img", core::kMgtFileSize), dir);
  if (loop.Device().empty()) GTEST_SKIP() << "no loop device here: " << loop.Why();
  const auto drive = OpenHostDrive(loop.Device());
  auto disk = std::make_unique<core::DiskImageBuffer>();
  const auto bytes = RandomBytes(core::kDiskBytes, 14);
  std::copy(bytes.begin(), bytes.end(), disk->begin());
  vellonix::testing::RecordingProgress progress;
  blockDeviceFlushes = 0;
  ASSERT_EQ(SaveSamDisk(*drive, *disk, progress), std::nullopt) << drive->LastError();
  EXPECT_EQ(blockDeviceFlushes, 1);
  EXPECT_EQ(ReadBytes(dir / "backing.img"), vellonix::testing::MgtOf(*disk));
}

}  // namespace
}  // namespace vellonix::physdisk
