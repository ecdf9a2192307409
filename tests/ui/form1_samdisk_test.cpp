// The SAM disk menu through TForm1 with a scripted drive: the document a
// loaded floppy becomes, a failed or cancelled load, Save whatever the
// buffer holds, the progress window and the two error boxes.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "sample_disks.hpp"
#include "scripted_drive.hpp"
#include "scripted_ui.hpp"
#include "view_checks.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::testing {
namespace {

using vellonix::testing::MgtOf;
using vellonix::testing::ScriptedDrive;

// Puts a scripted drive holding `disk` into the form and returns it.
ScriptedDrive& InsertDrive(TForm1& form, const imagekit::ImageBuilder& disk) {
  auto drive = std::make_unique<ScriptedDrive>();
  drive->Mgt = MgtOf(disk.Disk());
  ScriptedDrive& held = *drive;
  form.FloppyDrive = std::move(drive);
  return held;
}

// A form holding `which`, opened from `dir`, with unsaved changes.
void OpenChanged(TForm1& form, const ScratchDir& dir, SampleDisk which) {
  form.LoadName = WriteSampleDisk(dir, "image.mgt", which);
  form.LoadDiskImage();
  ASSERT_TRUE(form.ImageLoaded);
  form.ImageModified = true;
}

// The bar's positions, in the order the window showed them.
std::vector<int> ProgressPositions(const ScriptedUi& ui) {
  std::vector<int> positions;
  for (const UiCall& call : ui.Calls()) {
    if (const auto* view = std::get_if<ViewCall>(&call); view && view->Operation == "ShowProgress")
      positions.push_back(view->Numbers.at(0));
  }
  return positions;
}

MessageCall ErrorBox(const char* text, ScreenPoint at, const char* where) {
  return {text, MessageKind::Error, MessageButtons::Ok, at, std::string(where) + ": scripted failure"};
}

TEST(Form1SamDisk, ALoadedFloppyBecomesAnUnsavedDocumentNamedAfterTheDisk) {
  const ScratchDir dir;
  ScriptedUi ui;
  TForm1 form(ui);
  OpenChanged(form, dir, SampleDisk::BDos);
  ScriptedDrive& drive = InsertDrive(form, BuildSampleDisk(SampleDisk::Mixed));
  ui.QueueMessageAnswer(MessageResult::No);
  ui.ClearCalls();

  form.LOAD1Click();

  EXPECT_TRUE(form.ImageLoaded && form.ImageModified && form.ImageUntitled);
  EXPECT_EQ(form.DocumentPath, "Disk \u00A9 99.mgt");
  EXPECT_EQ(ui.Caption(), "SAM Coupé Vellonix - Disk \u00A9 99.mgt");
  EXPECT_EQ(MgtOf(form.DiskImageBuffer()), drive.Mgt);
  ExpectViewMatchesListing(ui, form);
  EXPECT_EQ(drive.Requests.size(), 161u);
  // The prompt came first, and nothing else reached the user.
  ASSERT_EQ(ui.Interactions().size(), 1u);
  EXPECT_EQ(ui.Messages().at(0).Text, "Save changes to diskimage ?");

  // The bar starts at 2 and steps by 2 after each track: full after track
  // 78, and still full after 79.
  std::vector<int> expected{2};
  for (int track = 0; track < 80; ++track) expected.push_back(std::min(4 + 2 * track, 160));
  EXPECT_EQ(ProgressPositions(ui), expected);
  EXPECT_EQ(expected[79], 160);
  EXPECT_FALSE(ui.ProgressVisible());
}

TEST(Form1SamDisk, AFailedLoadLeavesNoImageAndSaveWritesTheBufferAsItIs) {
  ScriptedUi ui;
  ui.SetMainWindowRect({10, 20, 600, 401});
  TForm1 form(ui);
  form.DocumentPath = "kept.sad";
  form.ImageUntitled = true;
  form.DiskImageBuffer().fill(0xEE);
  ScriptedDrive& drive = InsertDrive(form, BuildSampleDisk(SampleDisk::Mixed));
  drive.FailingTransfer = 7;  // track 3, side 1
  ui.QueueMessageAnswer(MessageResult::Ok);

  form.LOAD1Click();

  EXPECT_FALSE(form.ImageLoaded || form.ImageModified);
  EXPECT_TRUE(form.ImageUntitled);
  EXPECT_EQ(form.DocumentPath, "kept.sad");
  EXPECT_EQ(ui.Caption(), "SAM Coupé Vellonix - No diskimage loaded");
  EXPECT_TRUE(ui.Rows().empty());
  EXPECT_EQ(ProgressPositions(ui), (std::vector<int>{2, 4, 6, 8}));
  ASSERT_EQ(ui.Interactions().size(), 2u);
  EXPECT_TRUE(std::holds_alternative<BeepCall>(ui.Interactions()[0]));
  EXPECT_EQ(ui.Messages(), std::vector<MessageCall>{ErrorBox("\r\nDisk Loading Error", {226, 159}, "track 3, side 1, sectors 1-10")});

  // Save is offered all the same and writes the seven track sides read,
  // then the rest of what the buffer held.
  std::vector<std::uint8_t> expected = drive.Mgt;
  std::fill(expected.begin() + 7 * core::kBytesPerTrack, expected.end(), 0xEE);
  drive.FailingTransfer.reset();
  ui.ClearCalls();
  form.Save1Click();
  EXPECT_EQ(drive.Mgt, expected);
  EXPECT_TRUE(ui.Interactions().empty());
  EXPECT_FALSE(form.ImageLoaded || form.ImageModified);
}

TEST(Form1SamDisk, SaveLeavesTheDocumentAloneWhateverTheResult) {
  const ScratchDir dir;
  const struct {
    std::optional<std::size_t> Failing;
    bool FlushFails;
    const char* Detail;  // none when the save goes through
  } cases[] = {{std::nullopt, false, nullptr},
               {0, false, "track 0, side 0, sector 1: scripted failure"},
               {std::nullopt, true, "after the last sector: scripted flush failure"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Detail != nullptr ? c.Detail : "saved");
    ScriptedUi ui;
    TForm1 form(ui);
    OpenChanged(form, dir, SampleDisk::Mixed);
    ScriptedDrive& drive = InsertDrive(form, BuildSampleDisk(SampleDisk::Empty));
    drive.FailingTransfer = c.Failing;
    drive.FlushFails = c.FlushFails;
    if (c.Detail != nullptr) ui.QueueMessageAnswer(MessageResult::Ok);
    ui.ClearCalls();

    form.Save1Click();

    EXPECT_TRUE(form.ImageLoaded && form.ImageModified);
    EXPECT_FALSE(form.ImageUntitled);
    EXPECT_EQ(form.DocumentPath, form.LoadName);
    if (c.Detail != nullptr) {
      const MessageCall box{"\r\nDisk write Error", MessageKind::Error, MessageButtons::Ok, {193, 98}, c.Detail};
      EXPECT_EQ(ui.Messages(), std::vector<MessageCall>{box});
    } else {
      EXPECT_TRUE(ui.Interactions().empty());
      EXPECT_EQ(drive.Mgt, MgtOf(form.DiskImageBuffer()));
    }
    if (!c.Failing) {
      EXPECT_EQ(ProgressPositions(ui).back(), 160);
    }
    EXPECT_FALSE(ui.ProgressVisible());
  }
}

TEST(Form1SamDisk, CancelAtThePromptTouchesNeitherDriveNorDocument) {
  ScriptedUi ui;
  TForm1 form(ui);
  form.ImageModified = true;
  ScriptedDrive& drive = InsertDrive(form, BuildSampleDisk(SampleDisk::Mixed));
  ui.QueueMessageAnswer(MessageResult::Cancel);

  form.LOAD1Click();

  EXPECT_TRUE(drive.Requests.empty());
  EXPECT_TRUE(form.ImageModified);
  EXPECT_TRUE(ProgressPositions(ui).empty());
}

TEST(Form1SamDisk, CommandsArrivingDuringATransferAreRefused) {
  ScriptedUi ui;
  TForm1 form(ui);
  ScriptedDrive& drive = InsertDrive(form, BuildSampleDisk(SampleDisk::BDos));
  int reached = 0;
  bool firstOnly = true;
  drive.DuringTransfer = [&] {
    if (std::exchange(firstOnly, false)) form.RunCommand([&] { ++reached; });
  };
  form.LOAD1Click();
  EXPECT_EQ(reached, 0);
  EXPECT_EQ(ui.Interactions().size(), 1u);  // the beep
  form.RunCommand([&] { ++reached; });
  EXPECT_EQ(reached, 1);
}

TEST(DocumentPathForDisk, TrimsControlCodesAndBlanksAndKeepsThePathInItsFolder) {
  const struct {
    std::string Name;
    const char* Path;
  } cases[] = {
      {"", "Untitled.mgt"},  // the scan found no name (SAM-DOS)
      {"GAMES     ", "GAMES.mgt"},
      {std::string(" \0\t\0 ", 5), ".mgt"},
      {"\x01 demo\x1F", "demo.mgt"},
      {"caf\xE9", "caf\u00E9.mgt"},
      {"../up/..\\x", ".._up_.._x.mgt"},
      {std::string("AB\0CD", 5), "AB_CD.mgt"},
      {"a<b>?*|\"", "a<b>?*|\".mgt"},
  };
  for (const auto& c : cases) EXPECT_EQ(DocumentPathForDisk(c.Name), c.Path) << c.Name;
}

}  // namespace
}  // namespace vellonix::ui::testing
