// vellonix-cli add, extract, rm, rename and label, run on images made here
// and checked against what the core reads back from the saved image.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "cli_runner.hpp"
#include "image_builder.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/core/listing.hpp"

namespace {

namespace fs = std::filesystem;
using namespace vellonix;
namespace testing = vellonix::testing;
using testing::CliRun;
using testing::ReadText;
using testing::RunCli;

const std::vector<std::string> kReproducible{"SOURCE_DATE_EPOCH=1700000000", "TZ=UTC"};

class CliFileCommands : public ::testing::Test {
 protected:
  std::string Save(const imagekit::ImageBuilder& image, const std::string& name = "disk.mgt") const {
    core::SaveImageFile(dir_ / name, image.Disk());
    return dir_ / name;
  }
  core::DirectoryListing Listing(const std::string& path) const {
    core::DiskImageBuffer disk;
    EXPECT_TRUE(core::LoadImageFile(path, disk).has_value());
    return core::ListDirectory(disk);
  }
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    testing::WriteBytes(testing::Utf8Path(dir_ / name), bytes);
    return dir_ / name;
  }

  testing::ScratchDir dir_;
};

TEST_F(CliFileCommands, AddedFilesExtractByteForByteWithAReproducibleStamp) {
  const std::vector<std::vector<std::uint8_t>> contents{{}, testing::RandomBytes(20000, 1), {'h', 'i'}};
  std::vector<std::string> args{"add", "disk.sad"};
  for (std::size_t i = 0; i < contents.size(); ++i) {
    args.push_back(Write("hostfile" + std::to_string(i) + ".bin", contents[i]));
  }
  for (const std::string image : {"disk.sad", "again.sad"}) {
    Save(imagekit::ImageBuilder(), image);
    args[1] = image;
    const CliRun run = RunCli(dir_, args, kReproducible);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
  }
  EXPECT_EQ(ReadText(dir_ / "disk.sad"), ReadText(dir_ / "again.sad"));
  EXPECT_EQ(fs::file_size(dir_ / "disk.sad"), core::kSadFileSize);

  const auto listing = Listing(dir_ / "disk.sad");
  ASSERT_EQ(listing.Rows.size(), contents.size());
  for (std::size_t i = 0; i < contents.size(); ++i) {
    EXPECT_EQ(listing.Rows[i].SubItems[core::kFilename], "hostfile" + std::to_string(i) + ".");
    EXPECT_EQ(listing.Rows[i].SubItems[core::kDateStamp], "14-11-2023 22:13");
    const std::string out = "out" + std::to_string(i);
    ASSERT_EQ(RunCli(dir_, {"extract", "disk.sad", std::to_string(i + 1), out}).ExitCode, 0);
    EXPECT_TRUE(testing::ReadBytes(dir_ / out) == contents[i]) << i;
  }
  // Without OUTPUT the file is written here under its name, made safe.
  imagekit::ImageBuilder odd;
  odd.PlaceCodeFile(0, " a/b\x01.c ", contents[2]);
  Save(odd, "odd.mgt");
  ASSERT_EQ(RunCli(dir_, {"extract", "odd.mgt", "1"}).ExitCode, 0);
  EXPECT_TRUE(testing::ReadBytes(dir_ / "a_b_.c") == contents[2]);
  EXPECT_EQ(RunCli(dir_, {"add", "disk.sad", "x"}, {"SOURCE_DATE_EPOCH=soon"}).ExitCode, 1);
}

TEST_F(CliFileCommands, AddReportsEachRefusalGoesOnAndFailsOnlyAtTheEnd) {
  imagekit::ImageBuilder nearlyFull;
  nearlyFull.PlaceFile(0, 19, "big", std::vector<std::uint8_t>(1500 * 510));  // 60 sectors left
  const std::string image = Save(nearlyFull);
  const std::string small = Write("small", std::vector<std::uint8_t>(900, 1));
  const std::string large = Write("large", std::vector<std::uint8_t>(40000, 2));
  CliRun run = RunCli(dir_, {"add", image, small, large, small});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err, large + ": Not enough free space on disk (it needs 79 sectors; 58 are free)\n");
  EXPECT_EQ(Listing(image).Rows.size(), 3u);

  // Nothing added: the image stays as it was; a host error ends the command unsaved.
  imagekit::ImageBuilder fullDirectory;
  for (int slot = 0; slot < 80; ++slot) fullDirectory.Entry(slot).SetStatusType(19);
  const std::string full = Save(fullDirectory, "full.mgt");
  const std::string before = ReadText(full);
  run = RunCli(dir_, {"add", full, small, small});
  EXPECT_EQ(run.ExitCode, 1);
  const std::string full80 = ": Directory Full (all 80 directory slots are in use)\n";
  EXPECT_EQ(run.Err, small + full80 + small + full80);
  EXPECT_EQ(ReadText(full), before);
  // A host file that cannot be read is reported the same way.
  run = RunCli(dir_, {"add", image, dir_ / "missing", small});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err.rfind(dir_ / "missing" + ": ", 0), 0u) << run.Err;
  EXPECT_EQ(Listing(image).Rows.size(), 4u);
}

TEST_F(CliFileCommands, RmRenameAndLabelChangeTheImageInPlace) {
  imagekit::ImageBuilder image;
  for (int slot = 0; slot < 3; ++slot) {
    image.PlaceCodeFile(slot, "file" + std::to_string(slot), std::vector<std::uint8_t>(700));
  }
  const std::string path = Save(image);
  ASSERT_EQ(RunCli(dir_, {"rm", path, "2"}).ExitCode, 0);
  ASSERT_EQ(RunCli(dir_, {"rename", path, "3", " caf\xC3\xA9 "}).ExitCode, 0);
  ASSERT_EQ(RunCli(dir_, {"label", path, "Games"}).ExitCode, 0);
  const auto listing = Listing(path);
  ASSERT_EQ(listing.Rows.size(), 2u);
  EXPECT_EQ(listing.Rows[0].Caption, "1");
  EXPECT_EQ(listing.Rows[1].Caption, "3");
  EXPECT_EQ(listing.Rows[1].SubItems[core::kFilename], "caf\xE9      ");
  EXPECT_EQ(listing.Status[0], "MasterDOS format");
  EXPECT_EQ(listing.Status[1], "Disk name: Games     ");
}

TEST_F(CliFileCommands, NumbersNamingNoListedFileAndBadNamesWriteNothing) {
  imagekit::ImageBuilder image;
  image.BDos("disk");
  image.PlaceCodeFile(0, "one", std::vector<std::uint8_t>(700));
  image.PlaceFile(1, 0, "erased", std::vector<std::uint8_t>(700));
  image.PlaceCodeFile(2, "three", std::vector<std::uint8_t>(700));
  const std::string path = Save(image);
  const std::string before = ReadText(path);
  const std::vector<std::vector<std::string>> refused{
      {"extract", path, "2", "out"}, {"extract", path, "0", "out"}, {"rm", path, "99"},
      {"rename", path, "4", "x"},    {"rename", path, "1", "eleven char"}, {"rename", path, "1", "\xE2\x82\xAC"},
      {"label", path, "seventeen chars!!"}};
  for (const auto& args : refused) {
    const CliRun run = RunCli(dir_, args);
    EXPECT_EQ(run.ExitCode, 1) << args[0] << " " << args[2];
    EXPECT_NE(run.Err, "") << args[0];
  }
  EXPECT_NE(RunCli(dir_, {"rm", path, "2"}).Err.find("File # 2"), std::string::npos);
  EXPECT_EQ(RunCli(dir_, {"rm", path, "first"}).ExitCode, 2);
  EXPECT_EQ(ReadText(path), before);
  EXPECT_FALSE(fs::exists(dir_ / "out"));

  const CliRun help = RunCli(dir_, {"--help"});
  for (const char* command : {"add ", "extract ", "rm ", "rename ", "label "}) {
    EXPECT_NE(help.Out.find(command), std::string::npos) << command;
  }
}

// "File #" is decimal, always: a leading zero never makes it octal, and
// anything but digits is a usage error naming the argument.
TEST_F(CliFileCommands, FileNumbersAreDecimalAndNothingElse) {
  imagekit::ImageBuilder image;
  for (int slot = 0; slot < 12; ++slot) image.PlaceCodeFile(slot, "file" + std::to_string(slot + 1), {});
  const std::string path = Save(image);
  ASSERT_EQ(RunCli(dir_, {"rm", path, "010"}).ExitCode, 0);
  const auto listing = Listing(path);
  ASSERT_EQ(listing.Rows.size(), 11u);
  EXPECT_EQ(listing.Rows[8].Caption, "9");
  EXPECT_EQ(listing.Rows[9].Caption, "11");

  const std::string before = ReadText(path);
  for (const std::string number : {"0x0A", "08x", "-1", "+1", " 1", "1 ", "", "1e1", "99999999999"}) {
    for (const std::string command : {"rm", "extract", "rename"}) {
      std::vector<std::string> args{command, path, number};
      if (command != "rm") args.push_back("out");
      const CliRun run = RunCli(dir_, args);
      EXPECT_EQ(run.ExitCode, 2) << command << " '" << number << "'";
      EXPECT_NE(run.Err.find("FILE#"), std::string::npos) << run.Err;
    }
  }
  EXPECT_EQ(ReadText(path), before);
  EXPECT_FALSE(fs::exists(dir_ / "out"));
}

// Standard output, and a log that standard output appends to, get the bytes
// added; a file whose chain breaks gives what there is, and says so.
TEST_F(CliFileCommands, ExtractAppendsToWhatStandardOutputWritesAndOwnsUpToShortFiles) {
  const auto data = testing::RandomBytes(1500, 4);
  imagekit::ImageBuilder image;
  image.PlaceCodeFile(0, "whole", data);
  image.PlaceCodeFile(1, "broken", data);
  // The second file's second sector links to sector 144 of track 4, which
  // no disk has (its offset lies in free space).
  image.Disk()[static_cast<std::size_t>(core::SectorEnd(4, 5)) - 1] = 144;
  const std::string path = Save(image);

  const std::string bytes(data.begin(), data.end());
  EXPECT_EQ(RunCli(dir_, {"extract", path, "1", "-"}).Out, bytes);
#ifndef _WIN32  // /dev/stdout, a link to whatever standard output is, is POSIX's alone
  testing::WriteBytes(dir_.Path() / "log", {'o', 'l', 'd', '\n'});
  auto append = testing::CliStart(dir_, {"extract", "disk.mgt", "1", "/dev/stdout"}, {}, dir_ / "log", dir_ / "err");
  append.AppendStdout = true;
  ASSERT_EQ(testing::RunProgram(append), 0);
  EXPECT_EQ(ReadText(dir_ / "log"), "old\n" + bytes);
#endif

  const CliRun broken = RunCli(dir_, {"extract", path, "2", "cut"});
  EXPECT_EQ(broken.ExitCode, 1);
  EXPECT_EQ(broken.Err, "File # 2: only 1011 of its 1500 bytes could be read; the chain of sectors ends early\n");
  EXPECT_EQ(ReadText(dir_ / "cut"), bytes.substr(0, 1011));
}

// The image being read is never an output: not by its own name, not
// through another link, not by the name of a file on it. A file named "-"
// goes to a file of that name unless the user asks for standard output.
TEST_F(CliFileCommands, ExtractNeverReplacesTheImageItReads) {
  imagekit::ImageBuilder image;
  image.PlaceCodeFile(0, "disk.mgt", std::vector<std::uint8_t>{'d'});
  image.PlaceCodeFile(1, "-", std::vector<std::uint8_t>{'s', 't'});
  const std::string path = Save(image);
  const std::string before = ReadText(path);
  fs::create_hard_link(path, dir_ / "hard.mgt");
  std::vector<std::vector<std::string>> refused{
      {"extract", "disk.mgt", "1"}, {"extract", "disk.mgt", "2", path}, {"extract", "disk.mgt", "2", "hard.mgt"}};
#ifndef _WIN32
  fs::create_symlink("disk.mgt", dir_ / "link.mgt");
  refused.push_back({"extract", "disk.mgt", "2", "link.mgt"});
#endif
  for (const auto& args : refused) {
    const CliRun run = RunCli(dir_, args);
    EXPECT_EQ(run.ExitCode, 1) << args.back();
    EXPECT_NE(run.Err.find("is the image being read"), std::string::npos) << run.Err;
  }
  EXPECT_EQ(ReadText(path), before);
  const CliRun dash = RunCli(dir_, {"extract", "disk.mgt", "2"});
  EXPECT_EQ(dash.ExitCode, 0) << dash.Err;
  EXPECT_EQ(dash.Out, "");
  EXPECT_EQ(ReadText(dir_ / "-"), "st");
}

#ifndef _WIN32
// A FIFO named as an image is never opened: a writer waiting on it stays
// waiting, and its data reach the reader it waits for.
TEST_F(CliFileCommands, CommandsNeverOpenAFifoNamedAsAnImage) {
  const std::string fifo = dir_ / "pipe.mgt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string image = Save(imagekit::ImageBuilder(), "disk.mgt");
  const std::string drive = Write("drive.img", std::vector<std::uint8_t>(core::kMgtFileSize));
  auto writer = std::async(std::launch::async, [&] { testing::WriteBytes(fifo, {'d', 'a', 't', 'a'}); });
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"ls", fifo}, {"ls", fifo, image}, {"find", "*", fifo}, {"extract", fifo, "1", "out"}, {"add", fifo, image},
           {"rm", fifo, "1"}, {"convert", fifo, "out.mgt"}, {"import", fifo, "out.mgt"},
           {"disk", "write", "--device", drive, fifo}}) {
    const CliRun run = RunCli(dir_, args);
    EXPECT_EQ(run.ExitCode, 1) << args.front();
    EXPECT_EQ(writer.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout) << args.front();
  }
  ASSERT_EQ(writer.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout);
  EXPECT_EQ(testing::ReadBytes(fifo), (std::vector<std::uint8_t>{'d', 'a', 't', 'a'}));
  writer.get();
}
#endif

// Commands that change one image at once wait for each other: every file
// added is there at the end.
TEST_F(CliFileCommands, ConcurrentAddsAllKeepTheirFile) {
  const std::string image = Save(imagekit::ImageBuilder(), "shared.mgt");
  constexpr int kWriters = 16;
  std::vector<testing::ProgramStart> adds;
  for (int i = 0; i < kWriters; ++i) {
    const std::string name = "f" + std::to_string(i);
    Write(name, testing::RandomBytes(700, static_cast<unsigned>(i)));
    adds.push_back(
        testing::CliStart(dir_, {"add", "shared.mgt", name}, {}, dir_ / (name + ".out"), dir_ / (name + ".err")));
  }
  const std::vector<int> codes = testing::RunPrograms(adds);
  for (int i = 0; i < kWriters; ++i) {
    EXPECT_EQ(codes[static_cast<std::size_t>(i)], 0) << ReadText(dir_ / ("f" + std::to_string(i) + ".err"));
  }
  EXPECT_EQ(Listing(image).Rows.size(), static_cast<std::size_t>(kWriters));
  EXPECT_EQ(RunCli(dir_, {"new", "blank"}).ExitCode, 2);
  EXPECT_FALSE(fs::exists(dir_ / "blank"));
}

}  // namespace
