// vellonix-cli disk read and disk write through a flux reader's gw command,
// played by a stand-in first on PATH: the arguments it gets, the image it
// leaves, and failures told as the floppy commands tell them, the user's
// files and the host's temporary folder left as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli_runner.hpp"
#include "flux_output.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/core/image_file.hpp"

namespace {

namespace fs = std::filesystem;
using namespace vellonix;
namespace testing = vellonix::testing;
using testing::FluxRead;
using testing::FluxWritten;
using testing::Lines;
using testing::operator+;

class CliFlux : public ::testing::Test {
 protected:
  CliFlux() {
    fs::create_directories(bin_);
    fs::create_directories(temp_);
    const fs::path fake = testing::Utf8Path(VELLONIX_FAKE_GW);
    fs::copy_file(fake, bin_ / ("gw" + fake.extension().string()));
    testing::WriteBytes(bin_ / "floppy.mgt", floppy_);
  }

  void Plan(const Lines& lines) const {
    std::ofstream plan(bin_ / "plan.txt");
    for (const std::string& line : lines) plan << line << '\n';
  }
  testing::CliRun Run(const Lines& args, const std::string& path = "", const Lines& more = {}) const {
    const std::string temp = Utf8(temp_);
    Lines environment{"PATH=" + (path.empty() ? Utf8(bin_) : path), "TMPDIR=" + temp, "TMP=" + temp, "TEMP=" + temp};
    return testing::RunCli(dir_, args, environment + more);
  }
  Lines ArgsGiven() const {
    std::ifstream log(bin_ / "args.txt");
    Lines args;
    for (std::string line; std::getline(log, line);) args.push_back(line);
    return args;
  }
  std::vector<std::uint8_t> MgtOfImage(const std::string& path) const {
    core::DiskImageBuffer disk;
    EXPECT_TRUE(core::LoadImageFile(path, disk).has_value()) << path;
    return core::EncodeContainer(core::ContainerKind::Mgt, disk);
  }
  // The image the command was given: in a folder of its own under the
  // host's temporary folder, which is empty again afterwards.
  void ExpectCommandRun(const std::string& action, const std::string& drive) const {
    const Lines args = ArgsGiven();
    ASSERT_EQ(args.size(), 4u);
    EXPECT_EQ(Lines(args.begin(), args.begin() + 3), (Lines{action, "--drive=" + drive, "--format=ibm.800"}));
    const fs::path image = testing::Utf8Path(args[3]);
    EXPECT_EQ(image.filename(), "disk.mgt");
    EXPECT_TRUE(fs::equivalent(image.parent_path().parent_path(), temp_)) << args[3];
    EXPECT_TRUE(fs::is_empty(temp_));
  }
  static std::string Utf8(const fs::path& path) {
    const auto text = path.u8string();
    return {text.begin(), text.end()};
  }

  testing::ScratchDir dir_;
  const fs::path bin_ = dir_.Path() / "bin";
  const fs::path temp_ = dir_.Path() / "temp dir's";  // no shell may split or quote it
  const std::vector<std::uint8_t> floppy_ = testing::RandomBytes(core::kMgtFileSize, 31);
};

TEST_F(CliFlux, ReadsAndWritesTheWholeDiskThroughTheCommand) {
  Plan(Lines{"Reading c=0-79:h=0-1 revs=2", "Format ibm.800"} + FluxRead(0, 160) +
       Lines{"save", "Found 1600 sectors of 1600 (100%)"});
  testing::CliRun run = Run({"disk", "read", "--device", "gw:a", "copy.sad"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(MgtOfImage(dir_ / "copy.sad"), floppy_);
  ExpectCommandRun("read", "A");

  // The environment names the drive as it does for the SAM disk menu.
  const auto source = testing::RandomBytes(core::kMgtFileSize, 32);
  testing::WriteBytes(testing::Utf8Path(dir_ / "source.mgt"), source);
  Plan(Lines{"Format ibm.800", "Writing c=0-79:h=0-1"} + FluxWritten(0, 160) + Lines{"save", "All tracks verified"});
  run = Run({"disk", "write", "source.mgt"}, "", {"VELLONIX_FLOPPY=gw:B"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(testing::ReadBytes(bin_ / "floppy.mgt"), source);
  ExpectCommandRun("write", "B");
}

TEST_F(CliFlux, FailuresAreToldAsTheFloppyCommandsTellThemAndChangeNothing) {
  const auto kept = testing::RandomBytes(core::kMgtFileSize, 33);
  testing::WriteBytes(testing::Utf8Path(dir_ / "kept.mgt"), kept);
  fs::create_directories(dir_.Path() / "empty");
  const struct {
    const char* Name;
    Lines Args;
    Lines Plan;
    std::string Path;
    std::string Says;
  } cases[] = {
      {"a track given up",
       {"read", "--force", "--device", "gw:A", "kept.mgt"},
       FluxRead(0, 11) +
           Lines{"T5.1: IBM MFM (8/10 sectors) from Raw Flux (99 flux in 200.00ms)",
                 "T5.1: Giving up: 2 sectors missing"} +
           FluxRead(12, 160) + Lines{"save", "Found 1598 sectors of 1600 (99%)"},
       "",
       "Disk Loading Error: track 5, side 1, sectors 1-10: gw:A: gw read: T5.1: Giving up: 2 sectors missing; "
       "Found 1598 sectors of 1600 (99%)\n"},
      {"no device",
       {"read", "--force", "--device", "gw:A", "kept.mgt"},
       Lines{"** FATAL ERROR: Cannot find the device", "exit 1"},
       "",
       "Disk Loading Error: track 0, side 0, sectors 1-10: gw:A: gw read: ** FATAL ERROR: Cannot find the device\n"},
      {"a USB command failed",
       {"read", "--force", "--device", "gw:A", "kept.mgt"},
       FluxRead(0, 4) + Lines{"Command Failed: Bad Command"},
       "",
       "Disk Loading Error: track 2, side 0, sectors 1-10: gw:A: gw read: Command Failed: Bad Command\n"},
      {"verify failure",
       {"write", "--device", "gw:0", "kept.mgt"},
       FluxWritten(0, 8) + Lines{"** FATAL ERROR: Failed to verify Track 3.1", "exit 1"},
       "",
       "Disk write Error: track 3, side 1, sectors 1-10: gw:0: gw write: ** FATAL ERROR: Failed to verify Track 3.1\n"},
      {"no gw",
       {"read", "--force", "--device", "gw:A", "kept.mgt"},
       {},
       Utf8(dir_.Path() / "empty"),
       "Disk Loading Error: gw:A: the flux reader's gw command was not found on the PATH"},
      {"no such unit",
       {"write", "--device", "gw:C", "kept.mgt"},
       {},
       "",
       "Disk write Error: gw:C: the flux reader's drive is A or B, or a unit 0 to 3 (as in gw:A)\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Plan(c.Plan);
    const testing::CliRun run = Run(Lines{"disk"} + c.Args, c.Path);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err.rfind(c.Says, 0), 0u) << run.Err;
    EXPECT_EQ(testing::ReadBytes(dir_ / "kept.mgt"), kept);
    EXPECT_EQ(testing::ReadBytes(bin_ / "floppy.mgt"), floppy_);
    EXPECT_TRUE(fs::is_empty(temp_));
  }
}

}  // namespace
