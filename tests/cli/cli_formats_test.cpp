// vellonix-cli's collection, listing and import commands, run on images
// and files built here.
#include <zlib.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>

#include "cli_runner.hpp"
#include "edsk_builder.hpp"
#include "image_builder.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/core/list_row.hpp"
#include "vellonix/core/text.hpp"

namespace {

using namespace vellonix;
namespace kit = vellonix::testing;
using Bytes = std::vector<std::uint8_t>;

class CliFormats : public ::testing::Test {
 protected:
  std::string Save(const imagekit::ImageBuilder& image, const std::string& name) const {
    const std::string path = dir_ / name;
    kit::WriteBytes(kit::Utf8Path(path), core::EncodeContainer(core::HasExtension(name, ".SAD") ? core::ContainerKind::Sad
                                                                                                  : core::ContainerKind::Mgt,
                                                               image.Disk()));
    return path;
  }
  kit::CliRun Run(const std::vector<std::string>& args) const { return kit::RunCli(dir_, args); }

  kit::ScratchDir dir_;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(CliFormats, LsListsSeveralImagesAndGoesOnPastARefusedOne) {
  imagekit::ImageBuilder one;
  one.PlaceCodeFile(0, "first", Bytes(100, 1));
  imagekit::ImageBuilder two;
  two.PlaceCodeFile(0, "second", Bytes(100, 2));
  Save(one, "one.mgt");
  Save(two, "two.sad");
  dir_.WriteFilled("bad.mgt", 1000);

  const auto table = Run({"ls", "one.mgt", "bad.mgt", "two.sad"});
  EXPECT_EQ(table.ExitCode, 1);
  EXPECT_EQ(table.Err, "Invalid diskimage: bad.mgt: 1,000 bytes; an image has 819,200 (.mgt) or 819,222 (.sad)\n");
  const auto single = Run({"ls", "two.sad"});
  EXPECT_EQ(table.Out, "one.mgt:\n" + Run({"ls", "one.mgt"}).Out + "\ntwo.sad:\n" + single.Out);

  const auto json = Run({"ls", "--json", "one.mgt", "two.sad"});
  EXPECT_EQ(json.ExitCode, 0);
  const auto lines = Lines(json.Out);
  ASSERT_EQ(lines.size(), 2u);
  const auto second = nlohmann::ordered_json::parse(lines[1]);
  EXPECT_EQ(second.begin().key(), "path");
  EXPECT_EQ(second["path"], "two.sad");
  EXPECT_EQ(second["container"], "SAD");
  EXPECT_EQ(second.at("files").at(0).at("name"), "second    ");
}

TEST_F(CliFormats, FindSearchesFoldersForImagesOfAnyCase) {
  imagekit::ImageBuilder image;
  image.PlaceCodeFile(0, "  game.bin", Bytes(600, 1));
  image.PlaceSamFile(1, core::kTypeBasic, "GAME", Bytes(20, 0xFF));
  image.PlaceCodeFile(2, "tools", Bytes(10, 1));
  std::filesystem::create_directories(dir_.Path() / "tree" / "sub");
  Save(image, "tree/A.MGT");
  Save(image, "tree/sub/b.Sad");
  Save(image, "tree/sub/skipped.img");
  dir_.WriteFilled("tree/sub/broken.mgt", 10);
#ifndef _WIN32
  // A link to itself cannot be examined; a link back up is not walked again.
  std::filesystem::create_symlink("loop.mgt", dir_.Path() / "tree" / "loop.mgt");
  std::filesystem::create_directory_symlink("..", dir_.Path() / "tree" / "sub" / "up");
#endif

  // Paths found in a folder are the host's own, separators and all.
  const auto native = [](const char* path) { return std::filesystem::path(path).make_preferred().string(); };
  // A path that cannot even be looked at is reported, and the rest searched.
  const std::string tooLong(300, 'n');
  const auto all = Run({"find", "g*", tooLong, "tree"});
  EXPECT_EQ(all.ExitCode, 1);
  EXPECT_EQ(all.Err.rfind(tooLong + ": ", 0), 0u) << all.Err;
#ifndef _WIN32
  EXPECT_NE(all.Err.find("\ntree/loop.mgt: "), std::string::npos) << all.Err;
#endif
  EXPECT_TRUE(all.Err.ends_with("\nInvalid diskimage: " + native("tree/sub/broken.mgt") +
                                ": 10 bytes; an image has 819,200 (.mgt) or 819,222 (.sad)\n"))
      << all.Err;
  EXPECT_EQ(all.Out, native("tree/A.MGT") + "\t1\tgame.bin\tCode\t1.0K\n" + native("tree/A.MGT") +
                         "\t2\tGAME\tBasic\t0.5K\n" + native("tree/sub/b.Sad") + "\t1\tgame.bin\tCode\t1.0K\n" +
                         native("tree/sub/b.Sad") + "\t2\tGAME\tBasic\t0.5K\n");

  const auto typed = Run({"find", "--json", "--type", "basic", "[fg]am?", "tree/A.MGT"});
  EXPECT_EQ(typed.ExitCode, 0);
  EXPECT_EQ(nlohmann::ordered_json::parse(typed.Out),
            nlohmann::ordered_json({{"path", "tree/A.MGT"}, {"fileNumber", "2"}, {"name", "GAME"}, {"type", "Basic"},
                                    {"size", "0.5K"}}));
  EXPECT_EQ(Run({"find", "x", "missing-folder"}).ExitCode, 1);
}

TEST_F(CliFormats, BasicListsAProgramAndRefusesOtherFiles) {
  const Bytes program{0x00, 0x0A, 0x07, 0x00, 0xBB, 0x22, 0x68, 0x69, 0x22, 0x3A, 0x0D,   // 10 PRINT "hi":
                      0x00, 0x14, 0x04, 0x00, 0xB4, 0x31, 0x30, 0x0D,                     // 20 GO TO 10
                      0xFF, 0x00, 0x14, 0x02, 0x00, 0xBB, 0x0D};                          // variables
  imagekit::ImageBuilder image;
  image.PlaceSamFile(0, core::kTypeBasic, "prog", program);
  image.PlaceCodeFile(1, "code", Bytes(10, 1));
  Save(image, "disk.mgt");

  const auto listing = Run({"basic", "disk.mgt", "1"});
  EXPECT_EQ(listing.ExitCode, 0);
  EXPECT_EQ(listing.Out, "   10 PRINT \"hi\":\n   20 GO TO 10\n");
  EXPECT_EQ(Run({"basic", "disk.mgt", "1", "--lines", "11-"}).Out, "   20 GO TO 10\n");
  EXPECT_EQ(Run({"basic", "disk.mgt", "1", "--lines", "20-10"}).ExitCode, 2);

  const auto code = Run({"basic", "disk.mgt", "2"});
  EXPECT_EQ(code.ExitCode, 1);
  EXPECT_EQ(code.Err, "File # 2 is of type Code (19), not a SAM BASIC program (16)\n");

  imagekit::ImageBuilder cut;
  cut.PlaceSamFile(0, core::kTypeBasic, "prog", Bytes(program.begin(), program.begin() + 16));
  Save(cut, "cut.mgt");
  const auto partial = Run({"basic", "cut.mgt", "1"});
  EXPECT_EQ(partial.ExitCode, 1);
  EXPECT_EQ(partial.Out, "   10 PRINT \"hi\":\n   20 GO TO \n");
  EXPECT_EQ(partial.Err, "File # 1: the program's data ends inside line 20, listed as far as it goes\n");
}

TEST_F(CliFormats, ImportReadsGzipAndSkewedEdskAndRefusesTheRest) {
  imagekit::ImageBuilder image;
  image.PlaceCodeFile(0, "data", kit::RandomBytes(30000, 5));
  const auto mgt = core::EncodeContainer(core::ContainerKind::Mgt, image.Disk());

  // A raw image, gzip-compressed, under a .dsk name.
  gzFile packed = gzopen((dir_ / "packed.dsk").c_str(), "wb");
  ASSERT_NE(packed, nullptr);
  ASSERT_EQ(gzwrite(packed, mgt.data(), static_cast<unsigned>(mgt.size())), static_cast<int>(mgt.size()));
  ASSERT_EQ(gzclose(packed), Z_OK);
  EXPECT_EQ(Run({"import", "packed.dsk", "out.mgt"}).ExitCode, 0);
  EXPECT_EQ(kit::ReadBytes(dir_ / "out.mgt"), mgt);

  // An EDSK whose tracks list their sectors 10, 1, 2 ... 9, one missing.
  kit::TrackSpecs tracks(160);
  for (int t = 0; t < 160; ++t) {
    for (int i = 0; i < 10; ++i) {
      const int r = (i + 9) % 10 + 1;
      const auto start = image.Disk().begin() + static_cast<std::ptrdiff_t>(core::TrackSideOffset(t % 2, t / 2) + (r - 1) * 512);
      if (t != 9 || r != 3) {
        tracks[static_cast<std::size_t>(t)].push_back({static_cast<std::uint8_t>(t / 2), static_cast<std::uint8_t>(t % 2),
                                                       static_cast<std::uint8_t>(r), 2, 0, 0, Bytes(start, start + 512)});
      }
    }
  }
  kit::WriteBytes(dir_.Path() / "skewed.dsk", kit::BuildEdsk(tracks));
  const auto edsk = Run({"import", "skewed.dsk", "edsk.sad"});
  EXPECT_EQ(edsk.ExitCode, 1);
  EXPECT_EQ(edsk.Err,
            "cylinder 4, side 1, sector 3: missing, filled with zeros\n"
            "edsk.sad: 1 of the disk's 1600 sectors are missing or damaged in the EDSK image\n");
  auto expected = core::EncodeContainer(core::ContainerKind::Sad, image.Disk());
  std::fill_n(expected.begin() + static_cast<std::ptrdiff_t>(core::kSadHeaderSize + core::TrackSideOffset(1, 4) + 1024), 512, 0);
  EXPECT_EQ(kit::ReadBytes(dir_ / "edsk.sad"), expected);

  dir_.WriteFilled("text.txt", 5000, 'x');
  const auto refused = Run({"import", "text.txt", "never.mgt"});
  EXPECT_EQ(refused.ExitCode, 1);
  EXPECT_EQ(refused.Err, "cannot import: 5,000 bytes without the signature of an EDSK, DSK or SAD image, and no raw "
                         "image's 819,200\n");
  EXPECT_FALSE(std::filesystem::exists(dir_.Path() / "never.mgt"));
  EXPECT_EQ(Run({"import", "packed.dsk", "out.dsk"}).ExitCode, 2);
}

}  // namespace
