// Placed message boxes, the filters handed to the file dialogs, the New
// dialog's radio group and the About box.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <vector>

#include "modal_helper.hpp"
#include "qt_printers.hpp"
#include "newdisk.hpp"
#include "rename.hpp"
#include "std_dialogs.hpp"
#include "unit1.hpp"

namespace vellonix::ui::qt {
namespace {

using ui::qt::testing::WhenModalShows;

QStringList ButtonTexts(const QMessageBox& box) {
  QStringList texts;
  for (const QAbstractButton* button : box.buttons()) {
    if (!button->isHidden()) texts << button->text();
  }
  texts.sort();
  return texts;
}

void Click(QMessageBox& box, const QString& text) {
  for (QAbstractButton* button : box.buttons()) {
    if (button->text() == text) button->click();
  }
}

TEST(PlacedMessage, StandsWhereAskedWithItsButtonsAndAnswers) {
  const struct {
    MessageKind Kind;
    MessageButtons Buttons;
    QStringList Texts;
    QString Press;  // empty: close the box without a button
    MessageResult Expected;
  } cases[] = {
      {MessageKind::Confirmation, MessageButtons::YesNoCancel, {"&No", "&Yes", "Cancel"}, "&No", MessageResult::No},
      {MessageKind::Confirmation, MessageButtons::YesNoCancel, {"&No", "&Yes", "Cancel"}, "", MessageResult::Cancel},
      {MessageKind::Confirmation, MessageButtons::YesNo, {"&No", "&Yes"}, "&Yes", MessageResult::Yes},
      {MessageKind::Confirmation, MessageButtons::YesNo, {"&No", "&Yes"}, "", MessageResult::Cancel},
      {MessageKind::Error, MessageButtons::Ok, {"OK"}, "OK", MessageResult::Ok},
  };
  for (const auto& c : cases) {
    bool checked = false;
    WhenModalShows([&c, &checked](QWidget& widget) {
      auto* box = qobject_cast<QMessageBox*>(&widget);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->pos(), QPoint(135, 98));
      EXPECT_EQ(box->windowTitle(), c.Kind == MessageKind::Error ? "Error" : "Confirm");
      EXPECT_EQ(box->icon(), c.Kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::Question);
      EXPECT_EQ(box->text(), "Delete this file from diskimage ?");
      EXPECT_EQ(box->informativeText(), "File # 4 \"<b>x</b>\" (Code)");  // shown as it is, no markup
      EXPECT_EQ(ButtonTexts(*box), c.Texts);
      checked = true;
      if (c.Press.isEmpty()) {
        box->close();
      } else {
        Click(*box, c.Press);
      }
    });
    EXPECT_EQ(ShowPlacedMessage(nullptr, "Delete this file from diskimage ?", c.Kind, c.Buttons, {135, 98},
                                "File # 4 \"<b>x</b>\" (Code)"),
              c.Expected);
    EXPECT_TRUE(checked);
  }
}

TEST(FileDialogFilters, BecomeQtNameFiltersAndSuffixes) {
  EXPECT_EQ(QtNameFilters("Disk images (*.mgt;*.sad)|*.mgt;*.sad|All files (*.*)|*.*"),
            (QStringList{"Disk images (*.mgt *.sad)", "All files (*.*)"}));
  EXPECT_EQ(QtNameFilters("MGT diskimage|*.mgt|SAD diskimage|*.sad"),
            (QStringList{"MGT diskimage (*.mgt)", "SAD diskimage (*.sad)"}));
  EXPECT_TRUE(QtNameFilters("").isEmpty());
  EXPECT_EQ(SuffixOfNameFilter("SAD diskimage (*.sad)"), "sad");
  EXPECT_EQ(SuffixOfNameFilter("Disk images (*.mgt *.sad)"), "mgt");
  EXPECT_EQ(SuffixOfNameFilter("All files (*.*)"), "");
}

TEST(NewDiskDialog, RadioGroupEnablesAndLimitsTheNameAndTheChoiceStays) {
  MainWindow window;
  window.CreateDialogs();
  // No meta-object of their own: found by their instance names.
  auto* dialog = static_cast<TOKBottomDlg1*>(window.findChild<QDialog*>("OKBottomDlg1"));
  ASSERT_NE(dialog, nullptr);
  NewDiskDialogModel& model = window.Form1().OKBottomDlg1();
  // 274 × 181, larger where the font needs more room (see AtPointSize).
  EXPECT_GE(dialog->height(), 181);
  EXPECT_GE(dialog->width(), 274);
  for (const QRadioButton* radio : dialog->RadioGroup3Items) EXPECT_GE(radio->width(), radio->sizeHint().width());
  EXPECT_TRUE(dialog->RadioGroup3Items[0]->isChecked());
  EXPECT_FALSE(dialog->Edit1->isEnabled());
  EXPECT_TRUE(dialog->OKBtn->isDefault());

  const struct {
    int Item;
    bool Enabled;
    int Limit;
  } picks[] = {{2, true, 16}, {1, true, 10}, {0, false, 10}, {1, true, 10}};
  for (const auto& pick : picks) {
    dialog->Edit1->setText("typed");
    QTest::mouseClick(dialog->RadioGroup3Items[static_cast<std::size_t>(pick.Item)], Qt::LeftButton);
    EXPECT_EQ(dialog->Edit1->isEnabled(), pick.Enabled);
    EXPECT_EQ(dialog->Edit1->maxLength(), pick.Limit);
    EXPECT_EQ(dialog->Edit1->text(), "");
  }

  WhenModalShows([dialog](QWidget&) {
    QTest::keyClicks(dialog->Edit1, "ABCDEFGHIJKLMN");
    dialog->OKBtn->click();
  });
  EXPECT_TRUE(model.ExecuteNewDiskDialog(window.Services()));
  EXPECT_EQ(model.Edit1Text, "ABCDEFGHIJ");

  // The next showing keeps MasterDOS, with the name box empty; Esc cancels.
  WhenModalShows([dialog](QWidget&) {
    EXPECT_TRUE(dialog->RadioGroup3Items[1]->isChecked());
    EXPECT_TRUE(dialog->Edit1->isEnabled());
    EXPECT_EQ(dialog->Edit1->text(), "");
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  EXPECT_FALSE(model.ExecuteNewDiskDialog(window.Services()));
}

// Tab walks the dialog as it is laid out: the chosen format, the name box
// when the format takes a name, OK, Cancel, and round again.
TEST(NewDiskDialog, OpensOnTheChosenFormatAndTabFollowsTheLayout) {
  MainWindow window;
  window.show();
  window.CreateDialogs();
  auto* dialog = static_cast<TOKBottomDlg1*>(window.findChild<QDialog*>("OKBottomDlg1"));
  ASSERT_NE(dialog, nullptr);
  NewDiskDialogModel& model = window.Form1().OKBottomDlg1();
  for (const int format : {1, 2, 0}) {
    SCOPED_TRACE(format);
    model.RadioGroup3Click(format);
    QWidget* radio = dialog->RadioGroup3Items[static_cast<std::size_t>(format)];
    std::vector<QWidget*> order{radio, dialog->Edit1, dialog->OKBtn, dialog->CancelBtn, radio};
    if (format == 0) order.erase(order.begin() + 1);  // no name to type
    WhenModalShows([&order](QWidget& shown) {
      for (std::size_t step = 0; step < order.size(); ++step) {
        EXPECT_EQ(QApplication::focusWidget(), order[step]) << "after " << step << " Tab(s)";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      }
      static_cast<QDialog&>(shown).reject();
    });
    model.ExecuteNewDiskDialog(window.Services());
  }
}

TEST(NameDialog, ShowsTheCallersCaptionTextAndLimitAndReturnsTheText) {
  MainWindow window;
  window.CreateDialogs();
  auto* dialog = static_cast<TOKBottomDlg2*>(window.findChild<QDialog*>("OKBottomDlg2"));
  ASSERT_NE(dialog, nullptr);
  EXPECT_GE(dialog->width(), 234);
  EXPECT_GE(dialog->height(), 124);
  EXPECT_EQ(dialog->Label1->text(), "Enter new name:");
  NameDialogModel& model = window.Form1().OKBottomDlg2();
  model = {"Rename file", "old", 10};

  WhenModalShows([dialog](QWidget&) {
    EXPECT_EQ(dialog->windowTitle(), "Rename file");
    EXPECT_EQ(dialog->Edit1->text(), "old");
    EXPECT_EQ(dialog->Edit1->maxLength(), 10);
    QTest::keyClicks(dialog->Edit1, "new name is long");  // replaces the selected text
    QTest::keyClick(dialog->Edit1, Qt::Key_Return);
  });
  EXPECT_TRUE(model.ExecuteNameDialog(window.Services()));
  EXPECT_EQ(model.Edit1Text, "new name i");

  WhenModalShows([dialog](QWidget&) { dialog->CancelBtn->click(); });
  EXPECT_FALSE(model.ExecuteNameDialog(window.Services()));
  EXPECT_EQ(model.Edit1Text, "new name i");
}

TEST(AboutBox, IsShownModallyAtItsSizeAndClosedByOk) {
  MainWindow window;
  window.show();
  bool shown = false;
  WhenModalShows([&shown](QWidget& box) {
    EXPECT_EQ(box.windowTitle(), "About");
    EXPECT_GE(box.width(), 247);
    EXPECT_GE(box.height(), 189);
    auto* ok = box.findChild<QPushButton*>();
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "&OK");
    shown = true;
    ok->click();
  });
  window.Action(MenuItem::about1)->trigger();
  EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace vellonix::ui::qt
