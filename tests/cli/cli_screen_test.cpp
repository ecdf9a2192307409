// vellonix-cli screen: SCREEN$ files built here, their PNG files decoded
// back and compared pixel by pixel.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_runner.hpp"
#include "image_builder.hpp"
#include "png_reader.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/core/list_row.hpp"
#include "vellonix/formats/screen.hpp"

namespace {

using namespace vellonix;
namespace kit = vellonix::testing;
using Bytes = std::vector<std::uint8_t>;

kit::Png ReadPng(const std::string& path) { return kit::DecodePng(kit::ReadBytes(path)); }

TEST(CliScreen, WritesThePictureAsPng) {
  // MODE 4: pixel (2, 1) shows entry 5, whose colour is 34 (#DB0000);
  // the rest entry 0, colour 17 (#0000DB).
  Bytes data(formats::ScreenBitmapBytes(4));
  data[128 + 1] = 0x50;
  Bytes palette(40);
  palette[0] = 17;
  palette[5] = 34;
  data.insert(data.end(), palette.begin(), palette.end());
  data.push_back(0xFF);
  imagekit::ImageBuilder image;
  image.PlaceSamFile(0, core::kTypeScreen, "pic", data).SetByte(core::DirEntryField::ScreenMode, 3);
  image.PlaceSamFile(1, core::kTypeScreen, "short", Bytes(500, 0)).SetByte(core::DirEntryField::ScreenMode, 3);
  const kit::ScratchDir dir;
  kit::WriteBytes(kit::Utf8Path(dir / "disk.mgt"), core::EncodeContainer(core::ContainerKind::Mgt, image.Disk()));
  const auto run = [&](const std::vector<std::string>& args) { return kit::RunCli(dir, args); };

  ASSERT_EQ(run({"screen", "disk.mgt", "1", "canvas.png"}).ExitCode, 0);
  const kit::Png canvas = ReadPng(dir / "canvas.png");
  ASSERT_EQ(canvas.Width, 512);
  ASSERT_EQ(canvas.Height, 384);
  EXPECT_EQ(canvas.At(4, 2), (formats::Rgb{0xDB, 0, 0}));
  EXPECT_EQ(canvas.At(5, 3), (formats::Rgb{0xDB, 0, 0}));
  EXPECT_EQ(canvas.At(6, 2), (formats::Rgb{0, 0, 0xDB}));

  ASSERT_EQ(run({"screen", "disk.mgt", "1", "native.png", "--native"}).ExitCode, 0);
  const kit::Png native = ReadPng(dir / "native.png");
  EXPECT_EQ(native.Width, 256);
  EXPECT_EQ(native.Height, 192);
  EXPECT_EQ(native.At(2, 1), (formats::Rgb{0xDB, 0, 0}));
  // Standard output carries the same bytes, untouched by any line-end translation.
  ASSERT_EQ(kit::RunCli(dir, {"screen", "disk.mgt", "1", "-", "--native"}, {}, dir.File("piped.png")).ExitCode, 0);
  EXPECT_EQ(kit::ReadBytes(dir.File("piped.png")), kit::ReadBytes(dir / "native.png"));

  const auto damaged = run({"screen", "disk.mgt", "2", "short.png"});
  EXPECT_EQ(damaged.ExitCode, 1);
  EXPECT_EQ(damaged.Err, "File # 2 is no picture: it holds 500 bytes, and a MODE 4 picture needs 24576\n");
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "short.png"));

  // Nor is the picture ever written over the image it comes from.
  const auto disk = kit::ReadBytes(dir / "disk.mgt");
  const auto itself = run({"screen", "disk.mgt", "1", dir / "disk.mgt"});
  EXPECT_EQ(itself.ExitCode, 1);
  EXPECT_NE(itself.Err.find("is the image being read"), std::string::npos) << itself.Err;
  EXPECT_EQ(kit::ReadBytes(dir / "disk.mgt"), disk);
}

}  // namespace
