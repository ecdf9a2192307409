// TForm2 as built, and the SAM disk menu reaching TForm1's commands: the
// window shown centred with its caption while the scripted drive works,
// hidden again before an error box.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QProgressBar>

#include "../sample_disks.hpp"
#include "modal_helper.hpp"
#include "progbar.hpp"
#include "qt_printers.hpp"
#include "scripted_drive.hpp"
#include "unit1.hpp"

namespace vellonix::ui::qt {
namespace {

using vellonix::testing::MgtOf;
using vellonix::testing::ScriptedDrive;

TEST(TForm2, IsAFixedDialogWithoutCloseBoxHoldingTheBar) {
  MainWindow window;
  window.CreateDialogs();
  const TForm2* form2 = window.Form2();
  ASSERT_NE(form2, nullptr);
  EXPECT_FALSE(form2->isVisible());
  EXPECT_TRUE(form2->isWindow());
  EXPECT_EQ(form2->windowType(), Qt::Dialog);
  EXPECT_FALSE(form2->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(form2->isModal());
  EXPECT_EQ(form2->size(), QSize(229, 73));
  EXPECT_EQ(form2->minimumSize(), form2->maximumSize());
  EXPECT_EQ(form2->windowTitle(), "Loading SAM disk ...");
  const QProgressBar* bar = form2->ProgressBar1;
  EXPECT_EQ(bar->geometry(), QRect(16, 24, 193, 25));
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 160);
  EXPECT_EQ(bar->value(), 2);
}

TEST(TForm2, ShowsCentredWhileTheMenuCommandsRunAndHidesBeforeAnError) {
  MainWindow window;
  window.CreateDialogs();
  window.show();
  auto drive = std::make_unique<ScriptedDrive>();
  ScriptedDrive& held = *drive;
  held.Mgt = MgtOf(ui::testing::BuildSampleDisk(ui::testing::SampleDisk::Mixed).Disk());
  window.Form1().FloppyDrive = std::move(drive);
  const TForm2& form2 = *window.Form2();
  QStringList seen;
  held.DuringTransfer = [&] {
    if (held.Requests.size() != 2) return;  // the first transfer of each command
    seen << form2.windowTitle();
    EXPECT_TRUE(form2.isVisible());
    // Centred as placed, before the platform's frame was known.
    EXPECT_LE((form2.frameGeometry().center() - window.frameGeometry().center()).manhattanLength(), 4);
  };

  window.Action(MenuItem::LOAD1)->trigger();
  EXPECT_FALSE(form2.isVisible());
  EXPECT_TRUE(window.Form1().ImageLoaded);
  EXPECT_EQ(window.windowTitle(), "SAM Coupé Vellonix - Disk © 99.mgt");

  held.Requests.clear();
  held.Mgt.assign(held.Mgt.size(), 0);
  window.Action(MenuItem::Save1)->trigger();
  EXPECT_EQ(held.Mgt, MgtOf(window.Form1().DiskImageBuffer()));
  EXPECT_EQ(seen, (QStringList{"Loading SAM disk ...", "Saving SAM disk ..."}));
  EXPECT_EQ(form2.ProgressBar1->value(), 160);

  held.Requests.clear();
  held.FailingTransfer = 0;
  bool hiddenAtTheBox = false;
  ui::qt::testing::WhenModalShows([&](QWidget& box) {
    auto* message = qobject_cast<QMessageBox*>(&box);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text(), "Disk write Error");
    hiddenAtTheBox = !form2.isVisible();
    message->accept();
  });
  window.Action(MenuItem::Save1)->trigger();
  EXPECT_TRUE(hiddenAtTheBox);
}

}  // namespace
}  // namespace vellonix::ui::qt
