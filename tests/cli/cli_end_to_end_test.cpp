// Runs the built vellonix-cli on images made here and compares what it
// prints with what the core decodes from the same bytes.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_runner.hpp"
#include "image_builder.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/core/listing.hpp"
#include "vellonix/core/text.hpp"

namespace {

namespace fs = std::filesystem;
using namespace vellonix;
using RunResult = vellonix::testing::CliRun;
using vellonix::testing::ReadText;

// Characters (not bytes) of UTF-8 text before byte `end`.
std::size_t CharsBefore(const std::string& text, std::size_t end) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < end; ++i) count += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
  return count;
}

class CliTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return dir_.File(name); }

  RunResult Run(const std::vector<std::string>& args, const std::string& stdoutPath = "") const {
    return vellonix::testing::RunCli(dir_, args, {}, stdoutPath);
  }

  // A MasterDOS disk whose name and file names carry Latin-1, C0 and C1
  // bytes, with a protected and hidden file, an erased slot (so file
  // numbers have a gap) and a file whose chain is cut.
  static imagekit::ImageBuilder SampleImage() {
    imagekit::ImageBuilder image;
    image.MasterDos("disk\x01name");
    const std::vector<std::uint8_t> data(1500, 0x42);
    image.PlaceCodeFile(0, "caf\xE9", data, 32768).SetDateStamp({1, 1, 100, 9, 5});
    image.PlaceFile(1, core::kTypeBasic | core::kProtectedBit | core::kHiddenBit, "ctl\x01name",
                    imagekit::SamFileBody(core::kTypeBasic, data));
    image.PlaceFile(2, 0, "erased", data);
    image.PlaceCodeFile(3, "csi\x9B\\x", data);
    auto cut = image.PlaceCodeFile(4, "cut", data);
    cut.SetSectorCount(cut.SectorCount() + 1);
    return image;
  }

  vellonix::testing::ScratchDir dir_;
};

TEST_F(CliTest, JsonListingCarriesTheCoreTextsInEitherContainer) {
  const auto image = SampleImage();
  const auto expected = core::ListDirectory(image.Disk());
  for (const std::string name : {"disk.mgt", "disk.SAD"}) {
    SCOPED_TRACE(name);
    core::SaveImageFile(PathOf(name), image.Disk());
    const RunResult run = Run({"ls", "--json", PathOf(name)});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    // Terminal-safe: no raw control byte, C0 or C1, in the text printed.
    EXPECT_EQ(run.Out.find('\x01'), std::string::npos);
    EXPECT_EQ(run.Out.find("\xC2\x9B"), std::string::npos);
    EXPECT_EQ(run.Out.find('\n'), run.Out.size() - 1);
    const auto json = nlohmann::json::parse(run.Out);  // throws on anything but one value

    EXPECT_EQ(json["container"], name.ends_with(".mgt") ? "MGT" : "SAD");
    EXPECT_EQ(json["dos"], expected.State.DosKind);
    EXPECT_EQ(json["dirSlots"], expected.State.DirSlotCount);
    ASSERT_EQ(json["status"].size(), expected.Status.size());
    for (std::size_t i = 0; i < expected.Status.size(); ++i) {
      EXPECT_EQ(json["status"][i], core::Latin1ToUtf8(expected.Status[i]));
    }
    EXPECT_EQ(json["status"][1], "Disk name: disk\x01name ");
    ASSERT_EQ(json["files"].size(), expected.Rows.size());
    for (std::size_t i = 0; i < expected.Rows.size(); ++i) {
      const auto& file = json["files"][i];
      const auto& row = expected.Rows[i];
      EXPECT_EQ(file["slot"], row.Slot);
      EXPECT_EQ(file["fileNumber"], row.Caption);
      EXPECT_EQ(file["name"], core::Latin1ToUtf8(row.SubItems[core::kFilename]));
      EXPECT_EQ(file["size"], row.SubItems[core::kSize]);
      EXPECT_EQ(file["type"], row.SubItems[core::kType]);
      EXPECT_EQ(file["details"], row.SubItems[core::kDetails]);
      EXPECT_EQ(file["date"], row.SubItems[core::kDateStamp]);
      EXPECT_EQ(file["rowIcon"], row.RowIcon);
      EXPECT_EQ(file["nameIcon"], row.NameIcon);
      EXPECT_EQ(file["corrupted"], row.Corrupted);
      EXPECT_EQ(file["protected"], row.Protected);
      EXPECT_EQ(file["hidden"], row.Hidden);
    }
    EXPECT_EQ(json["files"][0]["name"], "caf\xC3\xA9      ");
    EXPECT_EQ(json["files"][1]["name"], "ctl\x01name  ");
    EXPECT_EQ(json["files"][2]["name"], "csi\xC2\x9B\\x    ");
  }
}

// Every byte a SAM name can hold reaches the JSON as its Latin-1
// character, and none reaches the terminal raw: C0, C1 and DEL escaped.
TEST_F(CliTest, JsonCarriesEveryByteOfANameEscaped) {
  std::string bytes;
  for (int code = 1; code < 256; ++code) bytes += static_cast<char>(code);
  bytes += "\"\\\"\\\"";  // 260 bytes: 26 names of 10
  imagekit::ImageBuilder image;
  for (int slot = 0; slot < 26; ++slot) {
    image.PlaceCodeFile(slot, bytes.substr(static_cast<std::size_t>(slot) * 10, 10), std::vector<std::uint8_t>(10));
  }
  core::SaveImageFile(PathOf("bytes.mgt"), image.Disk());
  const RunResult run = Run({"ls", "--json", PathOf("bytes.mgt")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  const auto json = nlohmann::json::parse(run.Out);
  std::string names;
  for (const auto& file : json["files"]) names += file["name"].get<std::string>();
  EXPECT_EQ(names, core::Latin1ToUtf8(bytes));
  const std::string raw = run.Out.substr(0, run.Out.size() - 1);
  const auto control = [](char ch) { return static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F; };
  EXPECT_EQ(std::count_if(raw.begin(), raw.end(), control), 0);
  for (int c1 = 0x80; c1 < 0xA0; ++c1) EXPECT_EQ(raw.find({'\xC2', static_cast<char>(c1)}), std::string::npos) << c1;
}

TEST_F(CliTest, TableShowsColumnsMarksAndEscapesAlignedByCharacters) {
  const auto image = SampleImage();
  core::SaveImageFile(PathOf("disk.mgt"), image.Disk());
  const RunResult run = Run({"ls", PathOf("disk.mgt")});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  for (const char ch : run.Out) EXPECT_TRUE(static_cast<unsigned char>(ch) >= 0x20 || ch == '\n');
  EXPECT_EQ(run.Out.find("\xC2\x9B"), std::string::npos);

  std::vector<std::string> lines;
  std::istringstream stream(run.Out);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 2 + 4 + 1 + 5u);
  const std::string& header = lines[0];
  std::size_t last = 0;
  for (const char* caption : {"File #", "Filename", "Size", "Type", "Details", "Date stamp", "Flags"}) {
    const auto at = header.find(caption, last);
    ASSERT_NE(at, std::string::npos) << caption;
    last = at;
  }
  // Each row: its name shown escaped, its type where the header puts it,
  // its marks at the end.
  const struct {
    std::string Name, Type, Flags;
  } rows[] = {{"caf\xC3\xA9", "Code", ""}, {"ctl\\x01name", "Basic", "PH"}, {"csi\\x9b\\\\x", "Code", ""},
              {"cut", "Code", "C"}};
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const std::string& line = lines[2 + i];
    SCOPED_TRACE(line);
    EXPECT_NE(line.find(rows[i].Name), std::string::npos);
    EXPECT_EQ(CharsBefore(line, line.find("  " + rows[i].Type + " ") + 2), CharsBefore(header, header.find("Type")));
    if (rows[i].Flags.empty()) {
      EXPECT_TRUE(line.find_last_not_of("CPH") == line.size() - 1);
    } else {
      EXPECT_TRUE(line.ends_with("  " + rows[i].Flags));
    }
  }
  const auto listing = core::ListDirectory(image.Disk());
  EXPECT_EQ(lines[7], listing.Status[0]);
  EXPECT_EQ(lines[8], "Disk name: disk\\x01name ");
  EXPECT_EQ(lines[10], "1 Corrupted files");
}

TEST_F(CliTest, ConvertRoundTripsMgtThroughSadByteForByte) {
  const auto image = SampleImage();
  core::SaveImageFile(PathOf("source.mgt"), image.Disk());
  ASSERT_EQ(Run({"convert", PathOf("source.mgt"), PathOf("middle.sad")}).ExitCode, 0);
  const std::string sad = ReadText(PathOf("middle.sad"));
  const auto expectedSad = core::EncodeContainer(core::ContainerKind::Sad, image.Disk());
  EXPECT_TRUE(sad == std::string(expectedSad.begin(), expectedSad.end()));

  ASSERT_EQ(Run({"convert", PathOf("middle.sad"), PathOf("BACK.MGT")}).ExitCode, 0);
  EXPECT_TRUE(ReadText(PathOf("BACK.MGT")) == ReadText(PathOf("source.mgt")));
  // A name the loader would refuse is refused here too, before anything is written.
  const auto refused = Run({"convert", PathOf("source.mgt"), PathOf("other.dsk")});
  EXPECT_EQ(refused.ExitCode, 2);
  EXPECT_NE(refused.Err.find("must end in .mgt or .sad"), std::string::npos) << refused.Err;
  EXPECT_FALSE(fs::exists(PathOf("other.dsk")));
}

TEST_F(CliTest, RefusedImagesAndHostErrorsExitWithOne) {
  const auto image = SampleImage();
  core::SaveImageFile(PathOf("good.mgt"), image.Disk());
  fs::copy_file(PathOf("good.mgt"), PathOf("good.dsk"));
  std::ofstream(PathOf("short.mgt")) << "not a disk";
  fs::create_directory(PathOf("folder.mgt"));
  const std::string missing = PathOf("missing.mgt");
  const std::string noFolder = PathOf("no/dir/out.mgt");
  // The host's own words for each failure, as the core reports it.
  const auto hostErrorText = [](auto call) {
    try {
      call();
    } catch (const core::HostIoError& error) {
      return std::string(error.what()) + "\n";
    }
    return std::string("no host error");
  };
  // A refused image: its path, why, and what would read it.
  const std::string invalid = "Invalid diskimage: ";
  const std::string shortOne =
      invalid + PathOf("short.mgt") + ": 10 bytes; an image has 819,200 (.mgt) or 819,222 (.sad)\n";
  const struct {
    std::vector<std::string> Args;
    std::string ErrorText;
  } cases[] = {
      {{"ls", PathOf("short.mgt")}, shortOne},
      {{"ls", "--json", PathOf("good.dsk")},
       invalid + PathOf("good.dsk") +
           ": 819,200 bytes, an MGT image's size, but named .dsk, not .mgt; vellonix-cli import reads it (raw image "
           "in MGT order)\n"},
      {{"convert", PathOf("short.mgt"), PathOf("out.sad")}, shortOne},
      {{"ls", PathOf("folder.mgt")}, invalid + PathOf("folder.mgt") + ": a folder, not a file\n"},
      {{"ls", missing}, hostErrorText([&] { core::HostInputFile file(missing); })},
      {{"convert", PathOf("good.mgt"), noFolder}, hostErrorText([&] { core::WriteFileSafely(noFolder, {}); })},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Args.back());
    const RunResult run = Run(c.Args);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, c.ErrorText);
  }
  EXPECT_FALSE(fs::exists(PathOf("out.sad")));
}

// Images are read ahead of the one being listed, yet ls lists them in the
// order named and find in name order, each under its own path; one refused
// on the way is reported and skipped, and those after it are still listed.
TEST_F(CliTest, ImagesReadAheadAreListedInOrder) {
  constexpr int kImages = 12;  // more than are read ahead at once
  std::vector<std::string> named, expected;
  for (int i = 10; i < 10 + kImages; ++i) {
    const std::string file = "d" + std::to_string(i) + (i % 3 == 0 ? ".sad" : ".mgt");
    imagekit::ImageBuilder image;
    image.PlaceCodeFile(0, "file" + std::to_string(i), std::vector<std::uint8_t>(600 * i, 0x33));
    if (i == 15) {
      std::ofstream(PathOf(file)) << "short";
    } else {
      core::SaveImageFile(PathOf(file), image.Disk());
      expected.insert(expected.begin(), file + " file" + std::to_string(i));
    }
    named.insert(named.begin(), PathOf(file));  // named last to first
  }
  // "image name" of the first file of each line, path separators aside.
  const auto listed = [](const RunResult& run, bool ls) {
    std::vector<std::string> values;
    std::istringstream lines(run.Out);
    for (std::string line; std::getline(lines, line);) {
      const auto json = nlohmann::json::parse(line);
      const std::string path = json["path"], name = (ls ? json["files"][0] : json)["name"];
      values.push_back(path.substr(path.find_last_of("/\\") + 1) + " " + name.substr(0, name.find(' ')));
    }
    return values;
  };
  std::vector<std::string> args{"ls", "--json"};
  args.insert(args.end(), named.begin(), named.end());
  const RunResult ls = Run(args);
  EXPECT_EQ(ls.ExitCode, 1);
  EXPECT_EQ(listed(ls, true), expected);
  EXPECT_EQ(ls.Err.rfind("Invalid diskimage: " + PathOf("d15.sad") + ": 5 bytes;", 0), 0u) << ls.Err;
  EXPECT_EQ(ls.Err.find('\n'), ls.Err.size() - 1) << ls.Err;

  const RunResult find = Run({"find", "--json", "file*", PathOf("")});
  EXPECT_EQ(find.ExitCode, 1);
  std::reverse(expected.begin(), expected.end());
  EXPECT_EQ(listed(find, false), expected);
}

TEST_F(CliTest, FailedWritesToStandardOutputAreNotSuccess) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  core::SaveImageFile(PathOf("good.mgt"), SampleImage().Disk());
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"ls", PathOf("good.mgt")}, {"ls", "--json", PathOf("good.mgt")}, {"--help"}}) {
    SCOPED_TRACE(args.back());
    const RunResult run = Run(args, "/dev/full");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err, "");
  }
}

TEST_F(CliTest, UsageErrorsExitWithTwoSayWhatIsWrongAndHelpDescribesEveryCommand) {
  const struct {
    std::vector<std::string> Args;
    std::string Says;
  } usages[] = {{{}, "A subcommand is required"},
                {{"bogus"}, "unknown command 'bogus'"},
                {{"disk", "rd", "x.mgt"}, "unknown command 'disk rd'"},
                {{"ls"}, "IMAGE"},
                {{"find", "*"}, "PATH"},
                {{"find", "[a-z", "x.mgt"}, "the [ at character 1 has no closing ]"},
                {{"find", "[z-a]", "x.mgt"}, "the wrong way round"},
                {{"find", "--type", "cod", "*", "x.mgt"}, "unknown type \"cod\": the list's Type column shows Erased,"},
                {{"basic", "x.mgt", "1", "--lines", "10-5"}, "FROM (10) is after TO (5)"},
                {{"ls", "--wide", "a.mgt"}, "--wide"},
                {{"convert", "a.mgt"}, "OUTPUT"}};
  for (const auto& usage : usages) {
    const RunResult run = Run(usage.Args);
    EXPECT_EQ(run.ExitCode, 2) << ::testing::PrintToString(usage.Args);
    EXPECT_EQ(run.Out, "");
    EXPECT_NE(run.Err.find(usage.Says), std::string::npos) << run.Err;
  }
  const struct {
    std::vector<std::string> Args;
    std::vector<std::string> Mentions;
  } helps[] = {{{"--help"}, {"ls ", "convert ", "--version"}},
               {{"ls", "--help"}, {"IMAGE", "--json"}},
               {{"convert", "--help"}, {"INPUT", "OUTPUT"}},
               {{"--version"}, {VELLONIX_VERSION}}};
  for (const auto& help : helps) {
    const RunResult run = Run(help.Args);
    EXPECT_EQ(run.ExitCode, 0) << help.Args.front();
    for (const auto& text : help.Mentions) EXPECT_NE(run.Out.find(text), std::string::npos) << text << run.Out;
  }
}

// One rule for every file the CLI writes whole: an existing one stays as it
// was unless --force is given.
TEST_F(CliTest, ExistingOutputsAreReplacedOnlyWithForce) {
  core::SaveImageFile(PathOf("good.mgt"), SampleImage().Disk());
  const std::string out = PathOf("out.mgt");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"new", out}, {"convert", PathOf("good.mgt"), out}, {"import", PathOf("good.mgt"), out}}) {
    SCOPED_TRACE(args.front());
    std::ofstream(out) << "keep me";
    const RunResult refused = Run(args);
    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_EQ(refused.Err, out + ": file exists (use --force to replace it)\n");
    EXPECT_EQ(ReadText(out), "keep me");
    std::vector<std::string> forced = args;
    forced.insert(forced.begin() + 1, "--force");
    EXPECT_EQ(Run(forced).ExitCode, 0);
    EXPECT_EQ(fs::file_size(out), core::kMgtFileSize);
  }
}

// Paths and arguments in messages cannot drive the terminal: their control
// codes show escaped, whichever command prints them; JSON keeps the bytes
// of a path that is no UTF-8.
TEST_F(CliTest, MessagesEscapeControlCodesAndJsonKeepsEveryPathsBytes) {
  const std::string image = PathOf("good.mgt");
  core::SaveImageFile(image, SampleImage().Disk());
  const std::string odd = "\x1b[31m\x07";
  const std::string missing = PathOf("no" + odd + "/x.mgt");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"ls", missing}, {"add", image, missing}, {"extract", image, "1", missing},
           {"import", missing, PathOf("out.mgt")}, {"new", missing}, {"convert", image, missing},
           {"ls" + odd}, {"extract", image, "1" + odd}}) {
    const RunResult run = Run(args);
    EXPECT_NE(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Err.find("\\x1b[31m\\x07"), std::string::npos) << run.Err;
    EXPECT_EQ((run.Out + run.Err).find_first_of("\x1b\x07"), std::string::npos) << run.Err;
  }
#ifndef _WIN32  // names that are no UTF-8 are POSIX's alone
  const std::string latin = PathOf("caf\xE9.mgt");
  core::SaveImageFile(latin, SampleImage().Disk());
  const std::vector<std::uint8_t> bytes(latin.begin(), latin.end());
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"ls", "--json", image, latin}, {"find", "--json", "cut", image, latin}}) {
    const RunResult run = Run(args);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    std::istringstream lines(run.Out);
    std::string first, second;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_FALSE(nlohmann::json::parse(first).contains("path_bytes"));
    EXPECT_EQ(nlohmann::json::parse(second)["path_bytes"].get<std::vector<std::uint8_t>>(), bytes);
  }
#endif
}

TEST_F(CliTest, NewWritesTheBlankDiskOfEachFormatAndRefusesBadNames) {
  const struct {
    std::vector<std::string> Options;
    std::string File;
    std::string Dos;
    std::string DiskName;
  } made[] = {{{}, "plain.mgt", "SAM-DOS", ""},
              {{"--format", "MasterDOS", "--name", "caf\xC3\xA9"}, "named.sad", "MasterDOS", "caf\xC3\xA9      "},
              {{"--format", "b-dos", "--name", "sixteen-chars-ok"}, "long.mgt", "B-DOS", "sixteen-chars-ok"}};
  for (const auto& m : made) {
    std::vector<std::string> args{"new"};
    args.insert(args.end(), m.Options.begin(), m.Options.end());
    args.push_back(PathOf(m.File));
    ASSERT_EQ(Run(args).ExitCode, 0) << m.File;
    const RunResult ls = Run({"ls", "--json", PathOf(m.File)});
    ASSERT_EQ(ls.ExitCode, 0);
    const auto json = nlohmann::json::parse(ls.Out);
    EXPECT_EQ(json["status"][0], m.Dos + " format");
    EXPECT_EQ(json["status"][1], m.DiskName.empty() ? "Disk has no name" : "Disk name: " + m.DiskName);
    EXPECT_TRUE(json["files"].empty());
  }
  EXPECT_EQ(fs::file_size(PathOf("named.sad")), core::kSadFileSize);

  const std::string kept = ReadText(PathOf("plain.mgt"));
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"new", "--format", "masterdos", "--name", "elevenchars", PathOf("x.mgt")},
           {"new", "--name", "any", PathOf("x.mgt")},
           {"new", "--format", "b-dos", "--name", "\xE2\x82\xAC", PathOf("x.mgt")},
           {"new", "--format", "masterdos", PathOf("plain.mgt")}}) {
    const RunResult run = Run(args);
    EXPECT_EQ(run.ExitCode, 1) << args[args.size() - 2];
    EXPECT_NE(run.Err, "");
  }
  EXPECT_FALSE(fs::exists(PathOf("x.mgt")));
  EXPECT_TRUE(ReadText(PathOf("plain.mgt")) == kept);
  EXPECT_EQ(Run({"new", "--force", "--format", "masterdos", PathOf("plain.mgt")}).ExitCode, 0);
  EXPECT_FALSE(ReadText(PathOf("plain.mgt")) == kept);
  EXPECT_EQ(Run({"new", "--format", "dos9", PathOf("y.mgt")}).ExitCode, 2);
}

}  // namespace
