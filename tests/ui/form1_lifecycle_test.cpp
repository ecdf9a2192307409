// TForm1's document lifecycle: when the user is asked about unsaved
// changes, what each answer does, and the save dialog's proposal.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "file_size_limit.hpp"
#include "sample_disks.hpp"
#include "scripted_ui.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::testing {
namespace {

namespace fs = std::filesystem;

class Form1Lifecycle : public ::testing::Test {
 protected:
  Form1Lifecycle() : form_(ui_) {}

  // The mixed sample loaded from its file, then changed.
  std::string LoadChanged(const std::string& name = "disk.mgt") {
    form_.LoadName = WriteSampleDisk(dir_, name, SampleDisk::Mixed);
    form_.LoadDiskImage();
    EXPECT_TRUE(form_.ImageLoaded);
    form_.DiskImageBuffer()[3000] ^= 0xFF;
    form_.ImageModified = true;
    ui_.ClearCalls();
    return form_.DocumentPath;
  }

  // A new MasterDOS disk named "fresh", unsaved and untitled.
  void MakeNew() {
    ui_.QueueDialogAnswer(DialogResult::Ok, [this] {
      form_.OKBottomDlg1().RadioGroup3Click(1);
      form_.OKBottomDlg1().Edit1Text = "fresh";
    });
    form_.MakeNewDiskImage();
    ui_.ClearCalls();
  }

  int SaveDialogsShown() const {
    int count = 0;
    for (const auto& call : ui_.Calls()) count += std::holds_alternative<SaveDialogCall>(call);
    return count;
  }

  ScratchDir dir_;
  ScriptedUi ui_;
  TForm1 form_;
};

TEST(SaveDialogProposal, FilterByExtensionNameWithoutIt) {
  const struct {
    std::string Path;
    int Filter;
    std::string Proposed;
  } cases[] = {
      {"C:\\img\\disk.sad", 2, "C:\\img\\disk"},
      {"C:\\img.old\\disk", 2, "C:\\img.old\\disk"},  // the separator comes before the dot
      {"/home/me/img.old/disk", 2, "/home/me/img.old/disk"},
      {"Untitled.mgt", 1, "Untitled"},
      {"/x/GAMES.MGT", 1, "/x/GAMES"},
      {"/x/a.b.dsk", 2, "/x/a.b"},
      {"", 2, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SaveFilterIndexFor(c.Path), c.Filter) << c.Path;
    EXPECT_EQ(ProposedSaveName(c.Path), c.Proposed) << c.Path;
  }
}

TEST_F(Form1Lifecycle, UnmodifiedImageIsReplacedOrClosedWithoutAsking) {
  form_.LoadName = WriteSampleDisk(dir_, "disk.sad", SampleDisk::Mixed);
  form_.LoadDiskImage();
  ui_.ClearCalls();

  ui_.QueueOpenCancel();
  form_.Opendiskimage1Click();
  EXPECT_TRUE(form_.FormClose());
  form_.Exit1Click();

  EXPECT_TRUE(ui_.Messages().empty());
  EXPECT_EQ(ui_.CloseRequests(), 1);
  EXPECT_TRUE(form_.ImageLoaded);
}

TEST_F(Form1Lifecycle, EachAnswerToThePromptOfATitledImage) {
  const std::string path = LoadChanged();
  const auto before = ReadBytes(path);

  ui_.QueueMessageAnswer(MessageResult::Cancel);
  EXPECT_FALSE(form_.FormClose());
  ui_.QueueMessageAnswer(MessageResult::No);
  EXPECT_TRUE(form_.FormClose());
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_TRUE(form_.ImageModified);

  ui_.QueueMessageAnswer(MessageResult::Yes);
  EXPECT_TRUE(form_.FormClose());
  EXPECT_EQ(SaveDialogsShown(), 0);
  EXPECT_NE(ReadBytes(path), before);
  EXPECT_FALSE(form_.ImageModified);

  const auto messages = ui_.Messages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0], (MessageCall{"Save changes to diskimage ?", MessageKind::Confirmation,
                                      MessageButtons::YesNoCancel, {135, 98},
                                      std::string(core::FileNamePart(path))}));
}

TEST_F(Form1Lifecycle, CancelInTheOpenDialogKeepsTheChangedImage) {
  LoadChanged();
  ui_.QueueMessageAnswer(MessageResult::No);
  ui_.QueueOpenCancel();
  form_.Opendiskimage1Click();
  EXPECT_TRUE(form_.ImageLoaded);
  EXPECT_TRUE(form_.ImageModified);
  EXPECT_EQ(ui_.Rows().size(), 5u);
}

TEST_F(Form1Lifecycle, OpenAsksFirstThenLoadsTheChosenFile) {
  LoadChanged();
  const std::string other = WriteSampleDisk(dir_, "other.sad", SampleDisk::BDos);
  ui_.QueueMessageAnswer(MessageResult::No);
  ui_.QueueOpenPaths({other});
  form_.Opendiskimage1Click();

  const auto interactions = ui_.Interactions();
  ASSERT_EQ(interactions.size(), 2u);
  const auto& open = std::get<OpenDialogCall>(interactions[1]).Request;
  EXPECT_EQ(open.Title, "Open diskimage");
  EXPECT_EQ(open.Filter, "Disk images (*.mgt;*.sad)|*.mgt;*.sad|All files (*.*)|*.*");
  EXPECT_EQ(open.DefaultExtension, ".mgt");
  EXPECT_FALSE(open.MultiSelect);
  EXPECT_EQ(form_.DocumentPath, other);
  EXPECT_FALSE(form_.ImageModified);
  EXPECT_EQ(ui_.Caption(), "SAM Coupé Vellonix - other.sad");
}

TEST_F(Form1Lifecycle, UntitledImageAsksForANameAndCancelThereAbandons) {
  MakeNew();
  ui_.QueueMessageAnswer(MessageResult::Yes);
  ui_.QueueSaveCancel();
  EXPECT_FALSE(form_.FormClose());
  EXPECT_TRUE(form_.ImageModified);
  EXPECT_EQ(form_.DocumentPath, "Untitled.mgt");

  const auto interactions = ui_.Interactions();
  ASSERT_EQ(interactions.size(), 2u);
  const auto& save = std::get<SaveDialogCall>(interactions[1]).Request;
  EXPECT_EQ(save.Title, "Save diskimage as ...");
  EXPECT_EQ(save.Filter, "MGT diskimage|*.mgt|SAD diskimage|*.sad");
  EXPECT_EQ(save.FilterIndex, 1);
  EXPECT_EQ(save.FileName, "Untitled");
  EXPECT_TRUE(save.OverwritePrompt);

  const std::string chosen = dir_.File("fresh.sad");
  ui_.QueueMessageAnswer(MessageResult::Yes);
  ui_.QueueSavePath(chosen);
  EXPECT_TRUE(form_.FormClose());
  EXPECT_EQ(fs::file_size(chosen), core::kSadFileSize);
  EXPECT_FALSE(form_.ImageUntitled);
  EXPECT_EQ(ui_.Caption(), "SAM Coupé Vellonix - fresh.sad");
}

TEST_F(Form1Lifecycle, SaveAsksOnlyWhileUntitledAndSaveAsAlways) {
  MakeNew();
  const std::string first = dir_.File("first.mgt");
  ui_.QueueSavePath(first);
  form_.Savediskimage1Click();
  EXPECT_EQ(ui_.Caption(), "SAM Coupé Vellonix - first.mgt");
  EXPECT_EQ(fs::file_size(first), core::kMgtFileSize);

  form_.ImageModified = true;
  form_.Savediskimage1Click();
  EXPECT_EQ(SaveDialogsShown(), 1);
  EXPECT_FALSE(form_.ImageModified);

  ui_.QueueSavePath(dir_.File("second.sad"));
  form_.Savediskimageas1Click();
  EXPECT_EQ(SaveDialogsShown(), 2);
  const SaveFileRequest request = std::get<SaveDialogCall>(ui_.Interactions().back()).Request;
  EXPECT_EQ(request.FileName, dir_.File("first"));
  EXPECT_EQ(ui_.Caption(), "SAM Coupé Vellonix - second.sad");

  ui_.QueueSaveCancel();
  form_.Savediskimageas1Click();
  EXPECT_EQ(form_.DocumentPath, dir_.File("second.sad"));
}

TEST_F(Form1Lifecycle, SaveAfterNewThenOpenWritesStraightToTheFile) {
  MakeNew();
  const std::string path = WriteSampleDisk(dir_, "existing.mgt", SampleDisk::BDos);
  ui_.QueueMessageAnswer(MessageResult::No);
  ui_.QueueOpenPaths({path});
  form_.Opendiskimage1Click();
  form_.DiskImageBuffer()[5000] = 0x5A;
  form_.Savediskimage1Click();
  EXPECT_EQ(SaveDialogsShown(), 0);
  EXPECT_EQ(ReadBytes(path)[5000], 0x5A);
}

TEST_F(Form1Lifecycle, HostErrorWhileSavingIsShownAndChangesNothing) {
  const std::string path = LoadChanged();
  const auto before = ReadBytes(path);
  fs::create_directory(fs::path(dir_.File("taken.mgt")));

  ui_.QueueSavePath(dir_.File("taken.mgt"));
  form_.RunCommand(&TForm1::Savediskimageas1Click);

  const auto interactions = ui_.Interactions();
  ASSERT_EQ(interactions.size(), 2u);
  EXPECT_NE(std::get<ErrorCall>(interactions[1]).Text.find("taken.mgt"), std::string::npos);
  EXPECT_TRUE(form_.ImageModified);
  EXPECT_EQ(form_.DocumentPath, path);
  EXPECT_EQ(ui_.Caption(), "SAM Coupé Vellonix - disk.mgt");
  EXPECT_EQ(ReadBytes(path), before);

  // A failure reached through the prompt abandons the close.
  {
    const vellonix::testing::ScopedFileSizeLimit limit(65536);
    if (!limit.Active()) GTEST_SKIP() << "no file size limit on this host";
    ui_.QueueMessageAnswer(MessageResult::Yes);
    EXPECT_THROW(form_.FormClose(), core::HostIoError);
  }
  EXPECT_TRUE(form_.ImageModified);
  EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(Form1Lifecycle, SettingsChangeOnlyBeepsAndAboutShowsItsBox) {
  LoadChanged();
  form_.SettingsChanged();
  ui_.QueueDialogAnswer(DialogResult::Ok);
  form_.about1Click();
  const auto interactions = ui_.Interactions();
  ASSERT_EQ(interactions.size(), 2u);
  EXPECT_TRUE(std::holds_alternative<BeepCall>(interactions[0]));
  EXPECT_EQ(std::get<ModalDialogCall>(interactions[1]).Dialog, ModalDialog::About);
  EXPECT_TRUE(form_.ImageModified);
}

}  // namespace
}  // namespace vellonix::ui::testing
