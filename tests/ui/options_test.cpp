// The Options dialog's flow over a stand-in for the host's desktop ties:
// what it shows, what the spin buttons do, and what OK, Cancel and the two
// kinds of failure write.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scripted_ui.hpp"
#include "stand_in_ties.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::testing {
namespace {

using integration::Shortcut;

struct Options : ::testing::Test {
  ScriptedUi ui;
  TForm1 form{ui};
  StandInTies* ties = nullptr;
  std::vector<std::uint16_t> shownIcons;

  void SetUp() override {
    auto owned = std::make_unique<StandInTies>();
    ties = owned.get();
    form.ShellTies = std::move(owned);
    form.OKBottomDlg().OnShowSelectedIcon = [this](std::uint16_t icon) { shownIcons.push_back(icon); };
  }
  OptionsDialogModel& dialog() { return form.OKBottomDlg(); }
};

TEST_F(Options, ShowsTheSystemsStateAndWritesTheChangedStateBackOnOk) {
  ties->System.Sad = true;
  ties->System[Shortcut::SendTo] = true;
  ties->System.Available[integration::Index(Shortcut::QuickLaunch)] = false;
  ties->System[Shortcut::QuickLaunch] = true;  // shown as it is, not the dialog's to change
  ties->System.IconIndex = 7;                  // shown as the last icon

  IntegrationState shown;
  ui.QueueDialogAnswer(DialogResult::Ok, [&] {
    shown = dialog().State;
    dialog().State.Mgt = true;
    dialog().State[Shortcut::ProgramGroup] = true;
    dialog().SpinButton1UpClick();
    dialog().SpinButton1UpClick();
    dialog().SpinButton1UpClick();  // at 0: nothing
  });
  form.RunCommand(&TForm1::Options1Click);

  EXPECT_TRUE(shown.Sad && !shown.Mgt && shown[Shortcut::SendTo]);
  EXPECT_TRUE(shown[Shortcut::QuickLaunch]);
  EXPECT_EQ(shown.IconIndex, 2);
  EXPECT_EQ(shownIcons, (std::vector<std::uint16_t>{2, 1, 0}));
  ASSERT_EQ(ties->Applied.size(), 1U);
  const IntegrationState& written = ties->Applied[0];
  EXPECT_TRUE(written.Mgt && written.Sad && written[Shortcut::SendTo] && written[Shortcut::ProgramGroup]);
  EXPECT_TRUE(written[Shortcut::QuickLaunch]);
  EXPECT_FALSE(written.Available[integration::Index(Shortcut::QuickLaunch)]);
  EXPECT_EQ(written.IconIndex, 0);
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(Options, SpinButtonsStopAtEitherEnd) {
  dialog().State.IconIndex = 2;
  dialog().SpinButton1DownClick();
  EXPECT_EQ(dialog().State.IconIndex, 2);
  dialog().SpinButton1UpClick();
  dialog().SpinButton1DownClick();
  EXPECT_EQ(dialog().State.IconIndex, 2);
  EXPECT_EQ(shownIcons, (std::vector<std::uint16_t>{1, 2}));
}

TEST_F(Options, CancelWritesNothingAndTheNextShowingReadsAfresh) {
  ties->System.Mgt = true;
  ui.QueueDialogAnswer(DialogResult::Cancel, [&] {
    dialog().State.Mgt = false;
    dialog().SpinButton1UpClick();
  });
  form.RunCommand(&TForm1::Options1Click);
  EXPECT_TRUE(ties->Applied.empty());

  ties->System.IconIndex = 1;  // changed behind the dialog's back
  IntegrationState shown;
  ui.QueueDialogAnswer(DialogResult::Cancel, [&] { shown = dialog().State; });
  form.RunCommand(&TForm1::Options1Click);
  EXPECT_TRUE(shown.Mgt);
  EXPECT_EQ(shown.IconIndex, 1);
  EXPECT_TRUE(ties->Applied.empty());
}

TEST_F(Options, FailuresEndTheCommandWithTheirText) {
  // Reading: shown before the dialog, which never opens.
  ties->ReadFailure = "Invalid data type for 'Desktop'";
  form.RunCommand(&TForm1::Options1Click);
  // Writing: after the dialog closed with OK.
  ties->ReadFailure.reset();
  ties->ApplyFailure = "Failed to set data for ''";
  ui.QueueDialogAnswer(DialogResult::Ok);
  form.RunCommand(&TForm1::Options1Click);

  std::vector<std::string> seen;
  for (const UiCall& call : ui.Interactions()) {
    if (const auto* error = std::get_if<ErrorCall>(&call)) seen.push_back("error: " + error->Text);
    if (std::holds_alternative<ModalDialogCall>(call)) seen.push_back("dialog");
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"error: Invalid data type for 'Desktop'", "dialog",
                                            "error: Failed to set data for ''"}));
  EXPECT_EQ(ties->Applied.size(), 1U);
}

}  // namespace
}  // namespace vellonix::ui::testing
