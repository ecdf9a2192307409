// TForm1's file commands: what the user is asked and told, and that the
// rows, counters, menu states and status bar stay those of a fresh scan.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "sample_disks.hpp"
#include "scripted_ui.hpp"
#include "view_checks.hpp"
#include "image_builder.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/fileops/edit_entry.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::testing {
namespace {

namespace fs = std::filesystem;

class Form1Files : public ::testing::Test {
 protected:
  Form1Files() : form_(ui_) {
    form_.Clock = [] { return fileops::LocalDateTime{2026, 12, 8, 18, 41}; };
  }

  void Load(SampleDisk which) {
    form_.LoadName = WriteSampleDisk(dir_, "disk.mgt", which);
    form_.LoadDiskImage();
    ASSERT_TRUE(form_.ImageLoaded);
    ui_.ClearCalls();
  }

  std::vector<std::string> RowNames() const {
    std::vector<std::string> names;
    for (const auto& row : ui_.Rows()) names.push_back(row.SubItems[0]);
    return names;
  }

  ScratchDir dir_;
  ScriptedUi ui_;
  TForm1 form_;
};

TEST_F(Form1Files, AddTakesEachChosenFileAndARefusalDoesNotStopTheRest) {
  Load(SampleDisk::Mixed);
  const std::string small = dir_.File("small.bin");
  vellonix::testing::WriteBytes(small, Pattern(1234, 7));
  const std::string huge = dir_.WriteFilled("huge.bin", 800000, 'h');
  const std::string last = dir_.WriteFilled("readme.txt", 10, 'r');
  ui_.QueueOpenPaths({small, huge, last});
  ui_.QueueMessageAnswer(MessageResult::Ok);
  form_.RunCommand(&TForm1::AddFile1Click);

  const auto interactions = ui_.Interactions();
  ASSERT_EQ(interactions.size(), 3u);
  const auto& request = std::get<OpenDialogCall>(interactions[0]).Request;
  EXPECT_EQ(request.Title, "Add file");
  EXPECT_EQ(request.Filter, "All files (*.*)|*.*");
  EXPECT_TRUE(request.MultiSelect && request.MustExist);
  EXPECT_TRUE(std::holds_alternative<BeepCall>(interactions[1]));
  EXPECT_EQ(std::get<MessageCall>(interactions[2]),
            (MessageCall{"Not enough free space on disk", MessageKind::Error, MessageButtons::Ok, {156, 98},
                         huge + ": it needs 1569 sectors; 1528 are free"}));

  // The erased slot 2 is reused, so its row stands between slots 1 and 3.
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"loader    ", "café.bin  ", "small.bin ", "broken    ",
                                                  "zxcode    ", "lost      ", "readme.txt"}));
  EXPECT_EQ(form_.Directory().ListedSlots, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(ui_.Rows()[2].SubItems[4], "08-12-2026 18:41");
  EXPECT_TRUE(form_.ImageModified);
  ExpectViewMatchesListing(ui_, form_);

  // And back out, byte for byte, under the name the row shows.
  ui_.SelectRow(2);
  ui_.QueueSavePath(dir_.File("out.bin"));
  form_.RunCommand(&TForm1::ExtractFile1Click);
  const SaveFileRequest save = std::get<SaveDialogCall>(ui_.Interactions().back()).Request;
  EXPECT_EQ(save.FileName, "small.bin");
  EXPECT_EQ(save.Title, "");
  EXPECT_EQ(save.Filter, "");
  EXPECT_TRUE(save.OverwritePrompt);  // an existing host file is not replaced unasked
  EXPECT_EQ(vellonix::testing::ReadBytes(dir_.File("out.bin")), Pattern(1234, 7));
}

TEST_F(Form1Files, AHostErrorEndsTheAddWithTheImageUnchanged) {
  Load(SampleDisk::Mixed);
  const core::DiskImageBuffer before = form_.DiskImageBuffer();
  fs::create_directory(fs::path(dir_.File("folder")));
  ui_.QueueOpenPaths({dir_.File("folder"), dir_.WriteFilled("later.bin", 10, 'x')});
  form_.RunCommand(&TForm1::AddFile1Click);

  ASSERT_EQ(ui_.Interactions().size(), 2u);
  EXPECT_NE(std::get<ErrorCall>(ui_.Interactions()[1]).Text.find("folder"), std::string::npos);
  EXPECT_TRUE(form_.DiskImageBuffer() == before);
  EXPECT_FALSE(form_.ImageModified);
  EXPECT_EQ(ui_.Rows().size(), 5u);
}

TEST_F(Form1Files, CommandsOnTheSelectedRowDoNothingWithoutOne) {
  Load(SampleDisk::Mixed);
  ui_.SelectRow(std::nullopt);
  for (const auto command : {&TForm1::ExtractFile1Click, &TForm1::DeleteFile1Click, &TForm1::RenameFile1Click}) {
    form_.RunCommand(command);
  }
  EXPECT_TRUE(ui_.Interactions().empty());
  EXPECT_FALSE(form_.ImageModified);
}

TEST_F(Form1Files, DeleteAsksThenDropsTheRowAndItsCounts) {
  Load(SampleDisk::Mixed);
  ui_.SelectRow(2);  // "broken", counted as corrupted
  ui_.QueueMessageAnswer(MessageResult::No);
  form_.DeleteFile1Click();
  EXPECT_EQ(ui_.Rows().size(), 5u);
  EXPECT_EQ(ui_.Messages().front(), (MessageCall{"Delete this file from diskimage ?", MessageKind::Confirmation,
                                                 MessageButtons::YesNo, {145, 98}, "File # 4 \"broken\" (Code)"}));

  ui_.QueueMessageAnswer(MessageResult::Yes);
  form_.DeleteFile1Click();
  EXPECT_EQ(ui_.StatusPanels()[3], "1 Corrupted files");
  EXPECT_TRUE(form_.ImageModified);
  ExpectViewMatchesListing(ui_, form_);

  while (!ui_.Rows().empty()) {
    ui_.SelectRow(0);
    ui_.QueueMessageAnswer(MessageResult::Yes);
    form_.DeleteFile1Click();
  }
  EXPECT_EQ(ui_.StatusPanels()[2], "0 Files");
  for (const MenuItem item : {MenuItem::ExtractFile1, MenuItem::ViewFile1, MenuItem::RenameFile1,
                              MenuItem::DeleteFile1})
    EXPECT_FALSE(ui_.MenuEnabled(item));
  EXPECT_TRUE(ui_.MenuEnabled(MenuItem::AddFile1));
  ExpectViewMatchesListing(ui_, form_);
}

TEST_F(Form1Files, RenameProposesTheTrimmedNameAndShowsTheNewOneUnpadded) {
  Load(SampleDisk::Mixed);
  ui_.SelectRow(1);
  ui_.QueueDialogAnswer(DialogResult::Ok, [this] {
    EXPECT_EQ(form_.OKBottomDlg2().Caption, "Rename file");
    EXPECT_EQ(form_.OKBottomDlg2().Edit1MaxLength, 10);
    EXPECT_EQ(form_.OKBottomDlg2().Edit1Text, "café.bin");
    form_.OKBottomDlg2().Edit1Text = "  ñew  ";
  });
  form_.RenameFile1Click();
  EXPECT_EQ(ui_.Rows()[1].SubItems[0], "ñew");
  const auto* name = form_.DiskImageBuffer().data() + 256 + 1;
  EXPECT_EQ(std::string(name, name + 10), "\xF1" "ew       ");
  EXPECT_EQ(ui_.Rows()[1].SubItems[2], "Code");  // only the name changed
  EXPECT_TRUE(form_.ImageModified);

  form_.ImageModified = false;
  ui_.QueueDialogAnswer(DialogResult::Cancel);
  form_.RenameFile1Click();
  EXPECT_FALSE(form_.ImageModified);
}

TEST_F(Form1Files, NamingASamDosDiskMakesItMasterDos) {
  Load(SampleDisk::Empty);
  ui_.QueueDialogAnswer(DialogResult::Ok, [this] {
    EXPECT_EQ(form_.OKBottomDlg2().Caption, "Change disk name");
    EXPECT_EQ(form_.OKBottomDlg2().Edit1MaxLength, 10);
    EXPECT_EQ(form_.OKBottomDlg2().Edit1Text, "");
    form_.OKBottomDlg2().Edit1Text = "GAMES";
  });
  form_.Changediskname1Click();
  EXPECT_EQ(ui_.StatusPanels()[0], "MasterDOS format");
  EXPECT_EQ(ui_.StatusPanels()[1], "Disk name: GAMES     ");
  EXPECT_TRUE(form_.ImageModified);
}

TEST_F(Form1Files, ABDosNameTakesSixteenCharacters) {
  Load(SampleDisk::BDos);
  ui_.QueueDialogAnswer(DialogResult::Ok, [this] {
    EXPECT_EQ(form_.OKBottomDlg2().Edit1MaxLength, 16);
    EXPECT_EQ(form_.OKBottomDlg2().Edit1Text, "SIXTEEN CHARS OK");
    form_.OKBottomDlg2().Edit1Text = "short";
  });
  form_.Changediskname1Click();
  EXPECT_EQ(ui_.StatusPanels()[1], "Disk name: short           ");
  ExpectViewMatchesListing(ui_, form_);
}

// A never-used slot before further entries (a foreign disk) hides them
// until a new file fills it: then they are listed at once, the broken one
// counted, as the next scan would show them. Naming a disk whose first file
// is a ZX file would overwrite that file's details: refused, with a beep.
TEST_F(Form1Files, AddListsTheEntriesAGapHidAndNamingOverAZxFileIsRefused) {
  imagekit::ImageBuilder image;
  image.PlaceFile(0, 4, "zxcode", Pattern(700, 1));
  image.PlaceCodeFile(2, "hidden", Pattern(700, 2));
  image.PlaceCodeFile(3, "broken", Pattern(700, 3)).SetSectorCount(5);
  core::SaveImageFile(dir_.File("gap.mgt"), image.Disk());
  form_.LoadName = dir_.File("gap.mgt");
  form_.LoadDiskImage();
  ASSERT_EQ(ui_.Rows().size(), 1u);

  ASSERT_TRUE(form_.SaveSamFile(dir_.WriteFilled("new.bin", 3000, 'n')));
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"zxcode    ", "new.bin   ", "hidden    ", "broken    "}));
  ExpectViewMatchesListing(ui_, form_);

  ui_.ClearCalls();
  const auto before = form_.DiskImageBuffer();
  ui_.QueueMessageAnswer(MessageResult::Ok);
  form_.RunCommand(&TForm1::Changediskname1Click);
  const auto interactions = ui_.Interactions();
  ASSERT_EQ(interactions.size(), 2u);
  EXPECT_TRUE(std::holds_alternative<BeepCall>(interactions[0]));
  EXPECT_EQ(std::get<MessageCall>(interactions[1]).Text, fileops::kDiskNameWouldDamageFile.Message);
  EXPECT_EQ(std::get<MessageCall>(interactions[1]).Detail, "File # 1 \"zxcode\" (ZX Code)");
  EXPECT_TRUE(form_.DiskImageBuffer() == before);
}

}  // namespace
}  // namespace vellonix::ui::testing
