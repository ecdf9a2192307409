// The Options dialog's widgets over a stand-in for the desktop ties: the
// boxes and the icon as read, the spin buttons, Enter and Esc.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "modal_helper.hpp"
#include "options.hpp"
#include "qt_printers.hpp"
#include "stand_in_ties.hpp"
#include "unit1.hpp"

namespace vellonix::ui::qt {
namespace {

using integration::Shortcut;
using ui::qt::testing::WhenModalShows;
using ui::testing::StandInTies;

int ShownIcon(const TOKBottomDlg& dialog) { return dialog.Image1->property("iconIndex").toInt(); }

TEST(OptionsDialog, ShowsTheTiesAsReadAndWritesTheBoxesAndIconOnEnter) {
  MainWindow window;
  window.CreateDialogs();
  window.show();
  auto owned = std::make_unique<StandInTies>();
  StandInTies& ties = *owned;
  window.Form1().ShellTies = std::move(owned);
  ties.System.Sad = true;
  ties.System.IconIndex = 1;
  ties.System[Shortcut::StartMenu] = true;
  ties.System.Available[integration::Index(Shortcut::QuickLaunch)] = false;

  bool shown = false;
  WhenModalShows([&shown](QWidget& widget) {
    auto& dialog = static_cast<TOKBottomDlg&>(widget);
    EXPECT_EQ(dialog.windowTitle(), "Options");
    EXPECT_GE(dialog.height(), 168);
    EXPECT_GE(dialog.width(), 257);
    EXPECT_EQ(dialog.GroupBox1->title(), "Assosiations");
    EXPECT_EQ(dialog.GroupBox2->title(), "Accessibility");
    EXPECT_GE(dialog.Image1->width(), 32);  // the icon's place, scaled with the dialog
    EXPECT_FALSE(dialog.CheckBox1->isChecked());
    EXPECT_TRUE(dialog.CheckBox2->isChecked());
    const QStringList captions = {"Add to Desktop", "Add to Quick launch bar", "Add to Start menu",
                                  "Add to Send to folder", "Create Program group"};
    for (std::size_t box = 0; box < dialog.ShortcutBoxes.size(); ++box) {
      const QCheckBox* check = dialog.ShortcutBoxes[box];
      EXPECT_EQ(check->text(), captions[static_cast<qsizetype>(box)]);
      EXPECT_GE(check->width(), check->sizeHint().width()) << box;
      EXPECT_EQ(check->isEnabled(), box != integration::Index(Shortcut::QuickLaunch));
      EXPECT_EQ(check->isChecked(), box == integration::Index(Shortcut::StartMenu));
    }
    EXPECT_EQ(ShownIcon(dialog), 1);
    EXPECT_TRUE(dialog.OKBtn->hasFocus() && dialog.OKBtn->isDefault());

    QTest::mouseClick(dialog.CheckBox1, Qt::LeftButton);
    QTest::mouseClick(dialog.ShortcutBoxes[integration::Index(Shortcut::StartMenu)], Qt::LeftButton);
    dialog.SpinButton1Up->click();
    dialog.SpinButton1Up->click();  // at 0: stays
    EXPECT_EQ(ShownIcon(dialog), 0);
    dialog.SpinButton1Down->click();
    dialog.SpinButton1Down->click();
    dialog.SpinButton1Down->click();  // at 2: stays
    EXPECT_EQ(ShownIcon(dialog), 2);
    dialog.SpinButton1Up->click();
    shown = true;
    QTest::keyClick(&dialog, Qt::Key_Return);
  });
  window.Action(MenuItem::Options1)->trigger();
  ASSERT_TRUE(shown);
  ASSERT_EQ(ties.Applied.size(), 1U);
  const integration::IntegrationState& written = ties.Applied[0];
  EXPECT_TRUE(written.Mgt && written.Sad);
  EXPECT_FALSE(written[Shortcut::StartMenu]);
  EXPECT_EQ(written.IconIndex, 1);

  // Esc: nothing written; the next showing reads the system again.
  WhenModalShows([](QWidget& widget) { QTest::keyClick(&widget, Qt::Key_Escape); });
  window.Action(MenuItem::Options1)->trigger();
  EXPECT_EQ(ties.Applied.size(), 1U);
}

}  // namespace
}  // namespace vellonix::ui::qt
