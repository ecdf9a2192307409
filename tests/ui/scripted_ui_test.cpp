// The scripted user interface the TForm1 suites stand on: it must fail a
// test that meets a prompt it did not script, and keep the list's rows and
// selection as a list view would.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "scripted_ui.hpp"

namespace vellonix::ui::testing {
namespace {

TEST(ScriptedUi, UnscriptedPromptsFailLoudly) {
  ScriptedUi ui;
  EXPECT_NONFATAL_FAILURE(EXPECT_THROW(ui.ShowMessage("Sure ?", MessageKind::Confirmation, MessageButtons::YesNo, {}, ""),
                                       UnscriptedCall),
                          "unscripted message box \"Sure ?\"");
  EXPECT_NONFATAL_FAILURE(EXPECT_THROW(ui.ShowOpenDialog({}), UnscriptedCall), "unscripted open dialog");
  EXPECT_NONFATAL_FAILURE(EXPECT_THROW(ui.ShowSaveDialog({}), UnscriptedCall), "unscripted save dialog");
  EXPECT_NONFATAL_FAILURE(EXPECT_THROW(ui.ShowModalDialog(ModalDialog::Options), UnscriptedCall),
                          "unscripted modal dialog");
  EXPECT_NONFATAL_FAILURE({ ScriptedUi unused; unused.QueueMessageAnswer(MessageResult::Yes); },
                          "1 scripted answer(s) were never asked for");
}

TEST(ScriptedUi, AnswersInQueueOrderAndLogsEveryPrompt) {
  ScriptedUi ui;
  ui.QueueMessageAnswer(MessageResult::No);
  ui.QueueMessageAnswer(MessageResult::Cancel);
  ui.QueueSavePath("/x/disk.sad");
  ui.QueueOpenCancel();

  EXPECT_EQ(ui.ShowMessage("a", MessageKind::Confirmation, MessageButtons::YesNoCancel, {1, 2}, ""), MessageResult::No);
  ui.Beep();
  EXPECT_EQ(ui.ShowMessage("b", MessageKind::Error, MessageButtons::Ok, {3, 4}, ""), MessageResult::Cancel);
  SaveFileRequest save;
  save.FilterIndex = 2;
  EXPECT_EQ(ui.ShowSaveDialog(save).Path, "/x/disk.sad");
  EXPECT_FALSE(ui.ShowOpenDialog({}).Confirmed);
  ui.SetCaption("title");

  std::vector<std::string> names;
  for (const UiCall& call : ui.Calls()) names.push_back(OperationName(call));
  EXPECT_EQ(names, (std::vector<std::string>{"ShowMessage", "Beep", "ShowMessage", "ShowSaveDialog", "ShowOpenDialog",
                                             "SetCaption"}));
  EXPECT_EQ(ui.Interactions().size(), 5u);
  ASSERT_EQ(ui.Messages().size(), 2u);
  EXPECT_EQ(ui.Messages()[1], (MessageCall{"b", MessageKind::Error, MessageButtons::Ok, {3, 4}, ""}));
  EXPECT_EQ(std::get<SaveDialogCall>(ui.Calls()[3]).Request.FilterIndex, 2);
}

TEST(ScriptedUi, RowsAndSelectionBehaveLikeAListView) {
  ScriptedUi ui;
  ui.SelectFirstRow();
  EXPECT_EQ(ui.SelectedRow(), std::nullopt);  // nothing to select
  for (int i = 0; i < 3; ++i) ui.SetRowCaption(ui.AppendRow(), std::to_string(i + 1));
  ui.SelectRow(1);
  ui.InsertRow(0);  // the selection follows its row
  EXPECT_EQ(ui.SelectedRow(), 2);
  ui.RemoveRow(3);
  EXPECT_EQ(ui.SelectedRow(), 2);
  ui.RemoveRow(2);
  EXPECT_EQ(ui.SelectedRow(), std::nullopt);
  ASSERT_EQ(ui.Rows().size(), 2u);
  EXPECT_EQ(ui.Rows()[0].Caption, "");
  EXPECT_EQ(ui.Rows()[1].Caption, "1");

  EXPECT_NONFATAL_FAILURE(EXPECT_THROW(ui.SetSubItem(2, 0, "x"), UnscriptedCall), "SetSubItem on row 2 of 2");
  EXPECT_NONFATAL_FAILURE(EXPECT_THROW(ui.SetSubItem(0, 5, "x"), UnscriptedCall), "SetSubItem 5");
  EXPECT_NONFATAL_FAILURE(EXPECT_THROW(ui.SetRowIcon(0, 4), UnscriptedCall), "SetRowIcon 4");
  EXPECT_NONFATAL_FAILURE(EXPECT_THROW(ui.SetSubItemIcon(0, 3), UnscriptedCall), "SetSubItemIcon 3");
  EXPECT_NONFATAL_FAILURE(EXPECT_THROW(ui.SetStatusPanel(5, "x"), UnscriptedCall), "SetStatusPanel 5");
  EXPECT_NONFATAL_FAILURE(EXPECT_THROW(ui.InsertRow(3), UnscriptedCall), "InsertRow at 3 of 2");
  ui.ClearRows();
  EXPECT_TRUE(ui.Rows().empty());
}

}  // namespace
}  // namespace vellonix::ui::testing
