// New diskimage through TForm1: the dialog's persistent choice, the order of
// dialog and prompt, and the document the new disk becomes.
#include <gtest/gtest.h>

#include <string>

#include "sample_disks.hpp"
#include "scripted_ui.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::testing {
namespace {

std::string Bytes(const core::DiskImageBuffer& disk, std::size_t at, std::size_t length) {
  return {disk.begin() + static_cast<std::ptrdiff_t>(at), disk.begin() + static_cast<std::ptrdiff_t>(at + length)};
}

TEST(NewDiskDialogModel, RadioGroupEnablesLimitsAndClearsTheName) {
  NewDiskDialogModel dialog;
  EXPECT_EQ(dialog.RadioGroup3ItemIndex(), 0);
  EXPECT_FALSE(dialog.Edit1Enabled());
  EXPECT_EQ(dialog.Edit1MaxLength(), NewDiskDialogModel::kNoLengthLimit);

  const struct {
    int Item;
    bool Enabled;
    int Limit;
  } picks[] = {{2, true, 16}, {1, true, 10}, {0, false, 10}};
  for (const auto& pick : picks) {
    dialog.Edit1Text = "typed";
    dialog.RadioGroup3Click(pick.Item);
    EXPECT_EQ(dialog.RadioGroup3ItemIndex(), pick.Item);
    EXPECT_EQ(dialog.Edit1Enabled(), pick.Enabled);
    EXPECT_EQ(dialog.Edit1MaxLength(), pick.Limit);
    EXPECT_EQ(dialog.Edit1Text, "");
  }
}

TEST(Form1NewDisk, BuildsTheChosenFormatAsAnUnsavedUntitledDocument) {
  ScriptedUi ui;
  TForm1 form(ui);
  ui.QueueDialogAnswer(DialogResult::Ok, [&form] {
    form.OKBottomDlg1().RadioGroup3Click(2);
    form.OKBottomDlg1().Edit1Text = "abc";
  });
  form.Newdiskimage1Click();

  const auto& disk = form.DiskImageBuffer();
  EXPECT_EQ(Bytes(disk, 210, 10), "abc       ");
  EXPECT_EQ(Bytes(disk, 232, 4), "BDOS");
  EXPECT_EQ(Bytes(disk, 250, 6), "      ");
  EXPECT_TRUE(form.ImageLoaded && form.ImageModified && form.ImageUntitled);
  EXPECT_EQ(form.DocumentPath, "Untitled.mgt");
  EXPECT_EQ(ui.Caption(), "SAM Coupé Vellonix - Untitled.mgt");
  EXPECT_EQ(ui.StatusPanels()[0], "B-DOS format");
  EXPECT_EQ(ui.StatusPanels()[4], "780.0 K free");
  for (const MenuItem on : {MenuItem::Savediskimage1, MenuItem::Savediskimageas1, MenuItem::Changediskname1,
                            MenuItem::AddFile1})
    EXPECT_TRUE(ui.MenuEnabled(on));
  for (const MenuItem off : {MenuItem::ExtractFile1, MenuItem::RenameFile1, MenuItem::DeleteFile1})
    EXPECT_FALSE(ui.MenuEnabled(off));
  // No prompt: nothing was loaded before.
  EXPECT_TRUE(ui.Messages().empty());
}

TEST(Form1NewDisk, TheNextShowingKeepsTheFormatWithAnEmptyName) {
  ScriptedUi ui;
  TForm1 form(ui);
  ui.QueueDialogAnswer(DialogResult::Ok, [&form] {
    form.OKBottomDlg1().RadioGroup3Click(1);
    form.OKBottomDlg1().Edit1Text = "GAMES";
  });
  form.MakeNewDiskImage();
  EXPECT_EQ(ui.StatusPanels()[1], "Disk name: GAMES     ");

  // Second showing: MasterDOS still chosen, the name box enabled but empty;
  // the unsaved first disk is given up with No.
  ui.QueueDialogAnswer(DialogResult::Ok, [&form] {
    EXPECT_EQ(form.OKBottomDlg1().RadioGroup3ItemIndex(), 1);
    EXPECT_TRUE(form.OKBottomDlg1().Edit1Enabled());
    EXPECT_EQ(form.OKBottomDlg1().Edit1Text, "");
  });
  ui.QueueMessageAnswer(MessageResult::No);
  form.MakeNewDiskImage();
  EXPECT_EQ(Bytes(form.DiskImageBuffer(), 210, 10), std::string("*") + std::string(9, '\0'));
  EXPECT_EQ(ui.StatusPanels()[1], "Disk has no name");
}

TEST(Form1NewDisk, CancelInEitherDialogLeavesTheOldImage) {
  const ScratchDir dir;
  ScriptedUi ui;
  TForm1 form(ui);
  form.LoadName = WriteSampleDisk(dir, "disk.mgt", SampleDisk::Mixed);
  form.LoadDiskImage();
  const core::DiskImageBuffer before = form.DiskImageBuffer();

  // The New dialog comes first and its Cancel never prompts, modified or not.
  ui.QueueDialogAnswer(DialogResult::Cancel);
  form.MakeNewDiskImage();
  form.ImageModified = true;
  ui.QueueDialogAnswer(DialogResult::Cancel);
  form.MakeNewDiskImage();
  EXPECT_TRUE(ui.Messages().empty());

  ui.QueueDialogAnswer(DialogResult::Ok, [&form] { form.OKBottomDlg1().RadioGroup3Click(2); });
  ui.QueueMessageAnswer(MessageResult::Cancel);
  form.MakeNewDiskImage();

  EXPECT_TRUE(form.DiskImageBuffer() == before);
  EXPECT_TRUE(form.ImageModified);
  EXPECT_FALSE(form.ImageUntitled);
  EXPECT_EQ(form.DocumentPath, dir.File("disk.mgt"));
  EXPECT_EQ(ui.Rows().size(), 5u);
  EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST(Form1NewDisk, ANameOutsideLatin1IsStoredWithQuestionMarks) {
  ScriptedUi ui;
  TForm1 form(ui);
  ui.QueueDialogAnswer(DialogResult::Ok, [&form] {
    form.OKBottomDlg1().RadioGroup3Click(1);
    form.OKBottomDlg1().Edit1Text = "\xE2\x82\xAC caf\xC3\xA9";
  });
  form.MakeNewDiskImage();
  EXPECT_EQ(Bytes(form.DiskImageBuffer(), 210, 10), "? caf\xE9    ");
}

}  // namespace
}  // namespace vellonix::ui::testing
