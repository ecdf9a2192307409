// vellonix-cli disk read and disk write on files standing in for the drive
// and, where the host lends one, on a loop device: byte for byte in MGT
// order, silent on success, and a failure that says where and touches
// nothing it should not.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_runner.hpp"
#include "vellonix/core/container.hpp"
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
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Args[1] + " " + c.Args[3]);
    const CliRun run = RunCli(dir_, c.Args);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err.rfind(c.Starts, 0), 0u) << run.Err;
    EXPECT_NE(run.Err.find(c.Says), std::string::npos) << run.Err;
    EXPECT_FALSE(fs::exists(dir_ / "copy.mgt"));
    EXPECT_EQ(ReadBytes(dir_ / "drive.img"), untouched);
    EXPECT_EQ(fs::file_size(dir_ / "short.img"), core::kMgtFileSize - 512);
  }
  EXPECT_EQ(RunCli(dir_, {"disk", "read"}).ExitCode, 2);
  EXPECT_EQ(RunCli(dir_, {"disk", "read", "--device", "drive.img", "copy.img"}).ExitCode, 2);
  EXPECT_FALSE(fs::exists(dir_ / "copy.img"));
}

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char ch : text) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  return quoted + "'";
}

// A loop device over a file: a real block device, attached for one test.
class LoopDevice {
 public:
  explicit LoopDevice(const std::string& backing, const testing::ScratchDir& dir) {
    const std::string out = dir / ".losetup";
    const std::string command = "losetup -f --show " + Quoted(backing) + " >" + Quoted(out) + " 2>&1";
    const int status = std::system(command.c_str());
    const std::string said = testing::ReadText(out);
    if (status == 0 && said.rfind("/dev/", 0) == 0) {
      device_ = said.substr(0, said.find('\n'));
    } else {
      why_ = said.empty() ? "losetup did not run" : said;
    }
  }
  LoopDevice(const LoopDevice&) = delete;
  LoopDevice& operator=(const LoopDevice&) = delete;
  ~LoopDevice() {
    if (!device_.empty()) std::system(("losetup -d " + Quoted(device_)).c_str());
  }
  const std::string& Device() const { return device_; }
  const std::string& Why() const { return why_; }

 private:
  std::string device_;
  std::string why_;
};

TEST_F(CliDisk, ReadsAndWritesThroughALoopDevice) {
  const auto before = testing::RandomBytes(core::kMgtFileSize, 25);
  const LoopDevice loop(Write("backing.img", before), dir_);
  if (loop.Device().empty()) GTEST_SKIP() << "no loop device here: " << loop.Why();

  ExpectSilentSuccess(RunCli(dir_, {"disk", "read", "--device", loop.Device(), "copy.mgt"}));
  EXPECT_EQ(ReadBytes(dir_ / "copy.mgt"), before);
  const std::string source = Write("source.mgt", testing::RandomBytes(core::kMgtFileSize, 26));
  ExpectSilentSuccess(RunCli(dir_, {"disk", "write", "--device", loop.Device(), "source.mgt"}));
  EXPECT_EQ(ReadBytes(dir_ / "backing.img"), ReadBytes(source));

  // A block device that is no floppy and not one SAM disk in size is refused.
  const LoopDevice larger(Write("larger.img", std::vector<std::uint8_t>(2 * core::kMgtFileSize, 3)), dir_);
  ASSERT_FALSE(larger.Device().empty()) << larger.Why();
  const CliRun refused = RunCli(dir_, {"disk", "write", "--device", larger.Device(), "source.mgt"});
  EXPECT_EQ(refused.ExitCode, 1);
  EXPECT_NE(refused.Err.find("refused: not a floppy drive"), std::string::npos) << refused.Err;
  EXPECT_EQ(ReadBytes(dir_ / "larger.img"), std::vector<std::uint8_t>(2 * core::kMgtFileSize, 3));
}

}  // namespace
