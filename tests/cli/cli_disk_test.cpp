// vellonix-cli disk read and disk write on files standing in for the drive
// and, where the host lends one, on a loop device: byte for byte in MGT
// order, silent on success, and a failure that says where and touches
// nothing it should not.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <thread>
#include <string>
#include <vector>

#include "cli_runner.hpp"
#include "loop_device.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/image_file.hpp"

namespace {

namespace fs = std::filesystem;
using namespace vellonix;
namespace testing = vellonix::testing;
using testing::CliRun;
using testing::ReadBytes;
using testing::RunCli;

class CliDisk : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    testing::WriteBytes(testing::Utf8Path(dir_ / name), bytes);
    return dir_ / name;
  }
  // The disk an image file holds, in MGT order.
  std::vector<std::uint8_t> MgtOfImage(const std::string& path) const {
    core::DiskImageBuffer disk;
    EXPECT_TRUE(core::LoadImageFile(path, disk).has_value()) << path;
    return core::EncodeContainer(core::ContainerKind::Mgt, disk);
  }
  static void ExpectSilentSuccess(const CliRun& run) {
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "");
  }

  testing::ScratchDir dir_;
};

TEST_F(CliDisk, ReadCopiesTheDriveIntoEitherContainer) {
  const auto drive = testing::RandomBytes(core::kMgtFileSize, 21);
  Write("drive.img", drive);
  ExpectSilentSuccess(RunCli(dir_, {"disk", "read", "--device", "drive.img", "copy.mgt"}));
  EXPECT_EQ(ReadBytes(dir_ / "copy.mgt"), drive);
  // The drive can be named by the environment instead.
  ExpectSilentSuccess(RunCli(dir_, {"disk", "read", "copy.sad"}, {"VELLONIX_FLOPPY=" + (dir_ / "drive.img")}));
  EXPECT_EQ(fs::file_size(dir_ / "copy.sad"), core::kSadFileSize);
  EXPECT_EQ(MgtOfImage(dir_ / "copy.sad"), drive);
  // An existing image is replaced only when asked to.
  Write("drive.img", testing::RandomBytes(core::kMgtFileSize, 27));
  ExpectSilentSuccess(RunCli(dir_, {"disk", "read", "--force", "--device", "drive.img", "copy.mgt"}));
  EXPECT_EQ(ReadBytes(dir_ / "copy.mgt"), ReadBytes(dir_ / "drive.img"));
}

TEST_F(CliDisk, WriteMakesTheDriveTheImagesMgtForm) {
  Write("drive.img", std::vector<std::uint8_t>(core::kMgtFileSize, 0));
  const auto header = core::SadHeader();
  std::vector<std::uint8_t> sad(header.begin(), header.end());
  const auto sectors = testing::RandomBytes(core::kDiskBytes, 22);
  sad.insert(sad.end(), sectors.begin(), sectors.end());
  Write("source.sad", sad);
  ExpectSilentSuccess(RunCli(dir_, {"disk", "write", "--device", "drive.img", "source.sad"}));
  EXPECT_EQ(ReadBytes(dir_ / "drive.img"), MgtOfImage(dir_ / "source.sad"));
}

TEST_F(CliDisk, FailuresSayWhatAndLeaveTheFilesAlone) {
  const auto untouched = testing::RandomBytes(core::kMgtFileSize, 23);
  Write("drive.img", untouched);
  Write("short.img", std::vector<std::uint8_t>(core::kMgtFileSize - 512, 1));
  Write("invalid.mgt", std::vector<std::uint8_t>(1000, 2));
  Write("source.mgt", testing::RandomBytes(core::kMgtFileSize, 24));
  const struct {
    std::vector<std::string> Args;
    const char* Starts;
    const char* Says;
  } cases[] = {
      {{"disk", "read", "--device", "short.img", "copy.mgt"}, "Disk Loading Error: ", "refused"},
      {{"disk", "read", "--device", "missing.img", "copy.mgt"}, "Disk Loading Error: ", "No such file"},
      {{"disk", "write", "--device", "short.img", "source.mgt"}, "Disk write Error: ", "refused"},
      {{"disk", "write", "--device", "drive.img", "invalid.mgt"}, "Invalid diskimage", ""},
      {{"disk", "read", "--device", "drive.img", "source.mgt"}, "source.mgt: file exists", "--force"},
  };
  const auto source = ReadBytes(dir_ / "source.mgt");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Args[1] + " " + c.Args[3]);
    const CliRun run = RunCli(dir_, c.Args);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err.rfind(c.Starts, 0), 0u) << run.Err;
    EXPECT_NE(run.Err.find(c.Says), std::string::npos) << run.Err;
    EXPECT_FALSE(fs::exists(dir_ / "copy.mgt"));
    EXPECT_EQ(ReadBytes(dir_ / "drive.img"), untouched);
    EXPECT_EQ(fs::file_size(dir_ / "short.img"), core::kMgtFileSize - 512);
    EXPECT_EQ(ReadBytes(dir_ / "source.mgt"), source);
  }
  EXPECT_EQ(RunCli(dir_, {"disk", "read"}).ExitCode, 2);
  EXPECT_EQ(RunCli(dir_, {"disk", "read", "--device", "drive.img", "copy.img"}).ExitCode, 2);
  EXPECT_FALSE(fs::exists(dir_ / "copy.img"));
}

// A command that changes the image standing in for the drive saves a new
// file under its name: a write that waited for it goes into that file, not
// into the old one it had opened, which is no longer the drive.
TEST_F(CliDisk, WriteWaitsForACommandSavingTheDriveImageAndWritesItsNewFile) {
  const std::string drive = Write("drive.img", testing::RandomBytes(core::kMgtFileSize, 28));
  const std::string source = Write("source.mgt", testing::RandomBytes(core::kMgtFileSize, 29));
  std::future<CliRun> write;
  {
    const core::ImageLock changing(drive, core::ImageLock::Mode::Exclusive);
    write = std::async(std::launch::async, [&] { return RunCli(dir_, {"disk", "write", "--device", drive, source}); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    core::WriteFileSafely(drive, testing::RandomBytes(core::kMgtFileSize, 30));
  }
  ExpectSilentSuccess(write.get());
  EXPECT_EQ(ReadBytes(drive), ReadBytes(source));
  EXPECT_EQ(dir_.Listing(), (std::set<std::string>{".stderr", ".stdout", "drive.img", "source.mgt"}));
}

TEST_F(CliDisk, ReadsAndWritesThroughALoopDevice) {
  const auto before = testing::RandomBytes(core::kMgtFileSize, 25);
  const testing::LoopDevice loop(Write("backing.img", before), dir_);
  if (loop.Device().empty()) GTEST_SKIP() << "no loop device here: " << loop.Why();

  ExpectSilentSuccess(RunCli(dir_, {"disk", "read", "--device", loop.Device(), "copy.mgt"}));
  EXPECT_EQ(ReadBytes(dir_ / "copy.mgt"), before);
  const std::string source = Write("source.mgt", testing::RandomBytes(core::kMgtFileSize, 26));
  ExpectSilentSuccess(RunCli(dir_, {"disk", "write", "--device", loop.Device(), "source.mgt"}));
  EXPECT_EQ(ReadBytes(dir_ / "backing.img"), ReadBytes(source));

  // A block device that is no floppy and not one SAM disk in size is refused.
  const testing::LoopDevice larger(Write("larger.img", std::vector<std::uint8_t>(2 * core::kMgtFileSize, 3)), dir_);
  ASSERT_FALSE(larger.Device().empty()) << larger.Why();
  const CliRun refused = RunCli(dir_, {"disk", "write", "--device", larger.Device(), "source.mgt"});
  EXPECT_EQ(refused.ExitCode, 1);
  EXPECT_NE(refused.Err.find("refused: not a floppy drive"), std::string::npos) << refused.Err;
  EXPECT_EQ(ReadBytes(dir_ / "larger.img"), std::vector<std::uint8_t>(2 * core::kMgtFileSize, 3));
}

}  // namespace
