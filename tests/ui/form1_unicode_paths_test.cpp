// Names outside ASCII survive the host's paths (on Windows every path
// crosses to the system as UTF-16): an image in a folder "Дискеты" opens
// and saves under its own name, and a host file added from there extracts
// back under the same name.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "sample_disks.hpp"
#include "scripted_ui.hpp"
#include "vellonix/core/listing.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::testing {
namespace {

namespace fs = std::filesystem;
using vellonix::testing::Utf8Path;

std::string Join(const std::string& folder, const std::string& name) {
  const auto joined = (Utf8Path(folder) / Utf8Path(name)).u8string();
  return {joined.begin(), joined.end()};
}

std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& item : fs::directory_iterator(Utf8Path(folder))) {
    const auto name = item.path().filename().u8string();
    names.emplace(name.begin(), name.end());
  }
  return names;
}

TEST(Form1UnicodePaths, OpenSaveAddAndExtractKeepTheNames) {
  ScratchDir dir;
  const std::string folder = dir.File("Дискеты");
  fs::create_directories(Utf8Path(Join(folder, "out")));
  const std::string image = Join(folder, "Ökö.mgt");
  core::SaveImageFile(image, BuildSampleDisk(SampleDisk::Empty).Disk());
  const std::string hostFile = Join(folder, "Ökö.bin");
  vellonix::testing::WriteBytes(Utf8Path(hostFile), Pattern(700, 1));

  ScriptedUi ui;
  TForm1 form(ui);
  ui.QueueOpenPaths({image});
  form.RunCommand(&TForm1::Opendiskimage1Click);
  ASSERT_TRUE(form.ImageLoaded);
  EXPECT_EQ(form.DocumentPath, image);

  ui.QueueOpenPaths({hostFile});
  form.RunCommand(&TForm1::AddFile1Click);
  ASSERT_EQ(ui.Rows().size(), 1u);
  EXPECT_EQ(ui.Rows()[0].SubItems[0], "Ökö.bin   ");
  form.RunCommand(&TForm1::Savediskimage1Click);
  EXPECT_FALSE(form.ImageModified);

  ui.SelectRow(0);
  ui.QueueSavePath(Join(Join(folder, "out"), "Ökö.bin"));
  form.RunCommand(&TForm1::ExtractFile1Click);
  EXPECT_EQ(std::get<SaveDialogCall>(ui.Interactions().back()).Request.FileName, "Ökö.bin");

  EXPECT_EQ(NamesIn(folder), (std::set<std::string>{"Ökö.mgt", "Ökö.bin", "out"}));
  EXPECT_EQ(NamesIn(Join(folder, "out")), std::set<std::string>{"Ökö.bin"});
  EXPECT_EQ(ReadBytes(Join(Join(folder, "out"), "Ökö.bin")), Pattern(700, 1));
  const auto saved = std::make_unique<core::DiskImageBuffer>();
  ASSERT_TRUE(core::LoadImageFile(image, *saved).has_value());
  EXPECT_EQ(core::ListDirectory(*saved).Rows.size(), 1u);
}

}  // namespace
}  // namespace vellonix::ui::testing
