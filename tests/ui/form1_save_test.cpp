// TForm1::SaveDiskImage: the container by the document path's extension,
// the flags after a save, and a failed save that changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>

#include "sample_disks.hpp"
#include "file_size_limit.hpp"
#include "scripted_ui.hpp"
#include "scratch_dir.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::testing {
namespace {

namespace fs = std::filesystem;

// A form holding the mixed sample disk, loaded from `dir`, with unsaved
// changes on an untitled document.
void LoadChangedSample(TForm1& form, const ScratchDir& dir) {
  form.LoadName = WriteSampleDisk(dir, "source.mgt", SampleDisk::Mixed);
  form.LoadDiskImage();
  ASSERT_TRUE(form.ImageLoaded);
  form.ImageModified = true;
  form.ImageUntitled = true;
}

TEST(Form1Save, WritesTheContainerTheExtensionSelects) {
  struct Case {
    const char* FileName;
    core::ContainerKind Expected;
  };
  const Case cases[] = {
      {"out.mgt", core::ContainerKind::Mgt}, {"OUT.MGT", core::ContainerKind::Mgt},
      {"out.sad", core::ContainerKind::Sad}, {"out.dsk", core::ContainerKind::Sad},
      {"out", core::ContainerKind::Sad},
  };
  const ScratchDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.FileName);
    ScriptedUi ui;
    TForm1 form(ui);
    LoadChangedSample(form, dir);
    form.DocumentPath = dir.File(c.FileName);

    form.SaveDiskImage();

    EXPECT_FALSE(form.ImageModified);
    EXPECT_FALSE(form.ImageUntitled);
    const std::vector<std::uint8_t> bytes = ReadBytes(form.DocumentPath);
    if (c.Expected == core::ContainerKind::Sad) {
      ASSERT_EQ(bytes.size(), core::kSadFileSize);
      EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 18), "Yolt's disk backup");
      EXPECT_TRUE(std::equal(bytes.begin() + 22, bytes.end(), form.DiskImageBuffer().begin()));
    } else {
      ASSERT_EQ(bytes.size(), core::kMgtFileSize);
      // Side 1 track 0 follows side 0 track 0 in the file.
      EXPECT_TRUE(std::equal(bytes.begin() + 5120, bytes.begin() + 10240,
                             form.DiskImageBuffer().begin() + 409600));
      auto reread = std::make_unique<core::DiskImageBuffer>();
      core::DecodeContainer(core::ContainerKind::Mgt, bytes, *reread);
      EXPECT_TRUE(*reread == form.DiskImageBuffer());
    }
    EXPECT_TRUE(ui.Interactions().empty());
  }
}

TEST(Form1Save, SavedFileLoadsBackToTheSameListing) {
  const ScratchDir dir;
  ScriptedUi ui;
  TForm1 form(ui);
  LoadChangedSample(form, dir);
  const auto rowsBefore = ui.Rows().size();
  const auto panelsBefore = ui.StatusPanels();
  form.DocumentPath = dir.File("copy.sad");
  form.SaveDiskImage();

  form.LoadName = form.DocumentPath;
  form.LoadDiskImage();

  ASSERT_TRUE(form.ImageLoaded);
  EXPECT_EQ(ui.Rows().size(), rowsBefore);
  EXPECT_EQ(ui.StatusPanels(), panelsBefore);
}

TEST(Form1Save, FailureThrowsAndChangesNothing) {
  const ScratchDir dir;
  struct Case {
    const char* Label;
    std::string Path;
    bool OldFile;        // a previous file stands at the path
    bool HostSizeLimit;  // the host refuses writes past 64 K
  };
  const std::string tooLarge = dir.WriteFilled("too-large.mgt", 4096, 'r');
  fs::create_directory(fs::path(dir.File("folder.sad")));
  const Case cases[] = {
      {"missing directory", dir.File("missing/disk.mgt"), false, false},
      {"write failing half-way", tooLarge, true, true},
      {"directory in the way", dir.File("folder.sad"), false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Label);
    ScriptedUi ui;
    TForm1 form(ui);
    LoadChangedSample(form, dir);
    form.DocumentPath = c.Path;

    {
      const vellonix::testing::ScopedFileSizeLimit limit(c.HostSizeLimit ? 65536 : UINTMAX_MAX);
      if (c.HostSizeLimit && !limit.Active()) continue;
      EXPECT_THROW(form.SaveDiskImage(), core::HostIoError);
    }

    EXPECT_TRUE(form.ImageModified);
    EXPECT_TRUE(form.ImageUntitled);
    if (c.OldFile) {
      EXPECT_EQ(ReadBytes(c.Path), std::vector<std::uint8_t>(4096, 'r'));
    }
  }
  EXPECT_FALSE(fs::exists(fs::path(dir.File("missing"))));
  EXPECT_TRUE(fs::is_directory(fs::path(dir.File("folder.sad"))));
  // Nothing half-written was left beside the targets.
  std::set<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"source.mgt", "too-large.mgt", "folder.sad"}));
}

}  // namespace
}  // namespace vellonix::ui::testing
