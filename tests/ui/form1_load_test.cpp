// TForm1 at start-up and when it loads image files: the list, the status
// bar, the menu, the title and the document flags as the user sees them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "sample_disks.hpp"
#include "view_checks.hpp"
#include "scripted_ui.hpp"
#include "scratch_dir.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/listing.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::testing {
namespace {

const std::string kTitlePrefix = "SAM Coup\u00e9 Vellonix - ";
const std::string kNoImageTitle = kTitlePrefix + "No diskimage loaded";

// Enabled exactly when an image is loaded.
constexpr MenuItem kImageCommands[] = {MenuItem::Savediskimage1, MenuItem::Savediskimageas1,
                                       MenuItem::Changediskname1, MenuItem::AddFile1};
// Enabled exactly when the list has a row.
constexpr MenuItem kRowCommands[] = {MenuItem::ExtractFile1, MenuItem::RenameFile1, MenuItem::DeleteFile1};
constexpr MenuItem kAlwaysEnabled[] = {MenuItem::Opendiskimage1, MenuItem::Importdiskimage1, MenuItem::Newdiskimage1,
                                       MenuItem::Exit1, MenuItem::LOAD1, MenuItem::Save1, MenuItem::Options1,
                                       MenuItem::about1};

std::string ItemName(MenuItem item) { return "menu item " + std::to_string(static_cast<int>(item)); }

void ForceAllMenusEnabled(ScriptedUi& ui) {
  for (int item = 0; item < kMenuItemCount; ++item) ui.ForceMenuEnabled(static_cast<MenuItem>(item), true);
}

void ExpectNoImageShown(const ScriptedUi& ui) {
  EXPECT_EQ(ui.Caption(), kNoImageTitle);
  EXPECT_TRUE(ui.Rows().empty());
  EXPECT_EQ(ui.SelectedRow(), std::nullopt);
  for (const MenuItem item : kImageCommands) EXPECT_FALSE(ui.MenuEnabled(item)) << ItemName(item);
  for (const MenuItem item : kRowCommands) EXPECT_FALSE(ui.MenuEnabled(item)) << ItemName(item);
  EXPECT_FALSE(ui.MenuEnabled(MenuItem::ViewFile1));
}

TEST(Form1Start, ShowsNoImageAndResetsTheImageCommands) {
  ScriptedUi ui;
  ForceAllMenusEnabled(ui);  // so that only the form can have switched them off
  const TForm1 form(ui);

  ExpectNoImageShown(ui);
  for (const MenuItem item : kAlwaysEnabled) EXPECT_TRUE(ui.MenuEnabled(item)) << ItemName(item);
  for (const std::string& panel : ui.StatusPanels()) EXPECT_EQ(panel, "");
  EXPECT_TRUE(ui.Interactions().empty());
  EXPECT_FALSE(form.ImageLoaded);
  EXPECT_FALSE(form.ImageModified);
  EXPECT_FALSE(form.ImageUntitled);
  EXPECT_EQ(form.DocumentPath, "");
}

struct ValidLoad {
  const char* Label;
  SampleDisk Disk;
  const char* FileName;
  std::size_t Rows;
  int Corrupted;
};

class Form1ValidLoad : public ::testing::TestWithParam<ValidLoad> {};

TEST_P(Form1ValidLoad, ShowsTheCoreListingAndASavedDocument) {
  const ValidLoad& param = GetParam();
  const ScratchDir dir;
  ScriptedUi ui;
  TForm1 form(ui);
  ui.ForceMenuEnabled(MenuItem::ViewFile1, true);
  form.ImageModified = true;
  form.ImageUntitled = true;
  form.LoadName = WriteSampleDisk(dir, param.FileName, param.Disk);

  form.LoadDiskImage();

  EXPECT_TRUE(ui.Interactions().empty());
  EXPECT_TRUE(form.ImageLoaded);
  EXPECT_FALSE(form.ImageModified);
  EXPECT_FALSE(form.ImageUntitled);
  EXPECT_EQ(form.DocumentPath, dir.File(param.FileName));
  EXPECT_EQ(ui.Caption(), kTitlePrefix + param.FileName);
  ExpectViewMatchesListing(ui, form);
  EXPECT_EQ(ui.Rows().size(), param.Rows);
  EXPECT_EQ(form.Directory().CorruptedCount, param.Corrupted);
  EXPECT_EQ(ui.StatusPanels()[3], std::to_string(param.Corrupted) + " Corrupted files");

  for (const MenuItem item : kImageCommands) EXPECT_TRUE(ui.MenuEnabled(item)) << ItemName(item);
  for (const MenuItem item : kRowCommands) EXPECT_EQ(ui.MenuEnabled(item), param.Rows > 0) << ItemName(item);
  // The first row is selected, so View File follows it.
  EXPECT_EQ(ui.MenuEnabled(MenuItem::ViewFile1), param.Rows > 0);
  EXPECT_EQ(ui.SelectedRow(), param.Rows > 0 ? std::optional<int>(0) : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Containers, Form1ValidLoad,
                         ::testing::Values(ValidLoad{"MixedMgt", SampleDisk::Mixed, "work disk.mgt", 5, 2},
                                           ValidLoad{"MixedSadUpperCase", SampleDisk::Mixed, "BACKUP.SAD", 5, 2},
                                           ValidLoad{"BDosMixedCaseMgt", SampleDisk::BDos, "b-dos.Mgt", 1, 0},
                                           ValidLoad{"EmptySad", SampleDisk::Empty, "blank.sad", 0, 0},
                                           ValidLoad{"Utf8NameMgt", SampleDisk::Mixed, "d\u00efsk.mgt", 5, 2}),
                         [](const auto& test) { return std::string(test.param.Label); });

TEST(Form1Load, ShowsSamBytesAsLatin1) {
  const ScratchDir dir;
  ScriptedUi ui;
  TForm1 form(ui);
  form.LoadName = WriteSampleDisk(dir, "latin.mgt", SampleDisk::Mixed);
  form.LoadDiskImage();

  ASSERT_EQ(ui.Rows().size(), 5u);
  EXPECT_EQ(ui.Rows()[1].SubItems[core::kFilename], "caf\u00e9.bin  ");
  EXPECT_EQ(ui.StatusPanels()[1], "Disk name: Disk \u00a9 99 ");
  EXPECT_EQ(form.Directory().DiskNameText, "Disk \xA9 99 ");  // the stored bytes, untranslated
}

TEST(Form1Load, ANewImageReplacesTheRowsAndRowCommands) {
  const ScratchDir dir;
  ScriptedUi ui;
  TForm1 form(ui);
  form.LoadName = WriteSampleDisk(dir, "full.mgt", SampleDisk::Mixed);
  form.LoadDiskImage();
  ASSERT_EQ(ui.Rows().size(), 5u);

  form.LoadName = WriteSampleDisk(dir, "blank.sad", SampleDisk::Empty);
  form.LoadDiskImage();

  ExpectViewMatchesListing(ui, form);
  EXPECT_TRUE(ui.Rows().empty());
  for (const MenuItem item : kRowCommands) EXPECT_FALSE(ui.MenuEnabled(item)) << ItemName(item);
  EXPECT_EQ(ui.StatusPanels()[2], "0 Files");
  EXPECT_EQ(ui.StatusPanels()[3], "0 Corrupted files");
  EXPECT_EQ(ui.Caption(), kTitlePrefix + "blank.sad");
}

struct RefusedFile {
  const char* Label;
  const char* FileName;
  std::size_t Size;
};

class Form1RefusedFile : public ::testing::TestWithParam<RefusedFile> {};

TEST_P(Form1RefusedFile, BeepsReportsAndLoadsNothing) {
  const ScratchDir dir;
  ScriptedUi ui;
  ui.SetMainWindowRect({100, 50, 538, 360});
  TForm1 form(ui);
  form.DocumentPath = "/elsewhere/previous.mgt";
  form.ImageModified = true;
  form.ImageUntitled = true;
  form.LoadName = dir.WriteFilled(GetParam().FileName, GetParam().Size);
  ui.QueueMessageAnswer(MessageResult::Ok);

  form.LoadDiskImage();

  const auto interactions = ui.Interactions();
  ASSERT_EQ(interactions.size(), 2u);
  EXPECT_EQ(OperationName(interactions[0]), "Beep");
  EXPECT_EQ(std::get<MessageCall>(interactions[1]),
            (MessageCall{"\rInvalid diskimage", MessageKind::Error, MessageButtons::Ok, {288, 169}}));
  EXPECT_FALSE(form.ImageLoaded);
  EXPECT_FALSE(form.ImageModified);
  EXPECT_TRUE(form.ImageUntitled);
  EXPECT_EQ(form.LoadName, "");
  EXPECT_EQ(form.DocumentPath, "/elsewhere/previous.mgt");
  ExpectNoImageShown(ui);
}

INSTANTIATE_TEST_SUITE_P(SizeOrExtension, Form1RefusedFile,
                         ::testing::Values(RefusedFile{"MgtSizeAsDsk", "disk.dsk", 819200},
                                           RefusedFile{"MgtSizeAsSad", "disk.sad", 819200},
                                           RefusedFile{"SadSizeAsMgt", "disk.mgt", 819222},
                                           RefusedFile{"MgtSizeNoExtension", "disk", 819200},
                                           RefusedFile{"OneByteShort", "short.mgt", 819199},
                                           RefusedFile{"OneByteLong", "long.sad", 819223},
                                           RefusedFile{"EmptyFile", "empty.mgt", 0}),
                         [](const auto& test) { return std::string(test.param.Label); });

TEST(Form1InvalidImageBox, IsCentredWithHalvesTruncatedTowardZero) {
  struct Case {
    WindowRect Window;
    ScreenPoint Expected;
  };
  // Odd differences, positive and negative, show the truncation.
  const Case cases[] = {
      {{-5, 40, 538, 345}, {183, 151}},      // 377 / 2 = 188, 223 / 2 = 111
      {{-300, -20, 100, 51}, {-330, -55}},   // -61 / 2 = -30, -71 / 2 = -35
      {{0, 0, 162, 123}, {0, 0}},            // 1 / 2 = 0
      {{-1000, 7, 0, 0}, {-1080, -54}},      // -161 / 2 = -80, -122 / 2 = -61
  };
  const ScratchDir dir;
  const std::string path = dir.WriteFilled("disk.dsk", 819200);
  for (const Case& c : cases) {
    SCOPED_TRACE("left " + std::to_string(c.Window.Left) + ", width " + std::to_string(c.Window.Width));
    ScriptedUi ui;
    ui.SetMainWindowRect(c.Window);
    TForm1 form(ui);
    form.LoadName = path;
    ui.QueueMessageAnswer(MessageResult::Ok);
    form.LoadDiskImage();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].TopLeft, c.Expected);
  }
}

TEST(Form1Load, RefusedAfterAValidImageEmptiesTheListButKeepsTheStatusBar) {
  const ScratchDir dir;
  ScriptedUi ui;
  TForm1 form(ui);
  form.LoadName = WriteSampleDisk(dir, "good.sad", SampleDisk::Mixed);
  form.LoadDiskImage();
  ASSERT_TRUE(form.ImageLoaded);
  const auto panelsBefore = ui.StatusPanels();
  ASSERT_EQ(panelsBefore[0], "MasterDOS format");

  form.LoadName = dir.WriteFilled("bad.mgt", 1000);
  ui.QueueMessageAnswer(MessageResult::Ok);
  form.LoadDiskImage();

  ExpectNoImageShown(ui);
  EXPECT_EQ(ui.StatusPanels(), panelsBefore);
  EXPECT_FALSE(form.ImageLoaded);
  EXPECT_EQ(form.DocumentPath, dir.File("good.sad"));
  EXPECT_EQ(form.LoadName, "");
}

TEST(Form1HostError, PropagatesWithNoImageLoaded) {
  const ScratchDir dir;
  for (const std::string name : {"absent.mgt", "good.mgt/inside.mgt"}) {
    SCOPED_TRACE(name);
    ScriptedUi ui;
    TForm1 form(ui);
    form.LoadName = WriteSampleDisk(dir, "good.mgt", SampleDisk::Mixed);
    form.LoadDiskImage();
    ASSERT_FALSE(ui.Rows().empty());
    ui.ClearCalls();

    form.LoadName = dir.File(name);
    EXPECT_THROW(form.LoadDiskImage(), core::HostIoError);

    EXPECT_FALSE(form.ImageLoaded);
    ExpectNoImageShown(ui);
    // The error is left to the caller's error display, not reported here.
    EXPECT_TRUE(ui.Interactions().empty());
  }
}

}  // namespace
}  // namespace vellonix::ui::testing
