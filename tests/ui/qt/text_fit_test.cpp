// Every text fits its place at 8, 11 and 14 point, and again after the
// application's font changes while the program runs: the list's columns and
// the status bar's panels for the widest texts they can hold, and the New,
// name, Options and About dialogs. ctest runs these at Qt's 1×, 1.5× and 2×
// scale on a screen large enough for every size; on a small one the window
// stays within the screen.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include "../widest_rows.hpp"
#include "about.hpp"
#include "modal_helper.hpp"
#include "unit1.hpp"
#include "window_metrics.hpp"

namespace vellonix::ui::qt {
namespace {

void ExpectTextsFit(const MainWindow& window) {
  const QTreeWidget& list = *window.Parts().ListView1;
  const QAbstractItemView& view = list;  // sizeHintForColumn is public here
  int columns = 0;
  for (int column = 0; column < list.columnCount(); ++column) {
    EXPECT_LE(view.sizeHintForColumn(column), list.columnWidth(column)) << "column " << column;
    EXPECT_LE(list.header()->sectionSizeHint(column), list.columnWidth(column)) << "caption " << column;
    columns += list.columnWidth(column);
  }
  EXPECT_LE(columns, list.viewport()->width());  // no sideways scrolling
  for (const QLabel* panel : window.Parts().Panels) {
    const QString text = panel->text();
    EXPECT_LE(panel->sizeHint().width(), panel->width()) << text.toStdString();
    EXPECT_LE(panel->sizeHint().height(), panel->height()) << text.toStdString();
    EXPECT_LE(panel->mapTo(&window, QPoint(panel->width(), 0)).x(), window.width()) << text.toStdString();
  }
  // The layout keeps the base layout's proportions.
  const MainWindowMetrics& metrics = window.Metrics();
  EXPECT_EQ(window.width(), metrics.Client.Width);
  for (std::size_t column = 0; column < kColumnWidths.size(); ++column)
    EXPECT_NEAR(list.columnWidth(static_cast<int>(column)), kColumnWidths[column] * metrics.Scale, 1.0);
}

// No text of the dialog is cut: each button, label and group box holds its
// text (wrapped labels their lines) and stands inside the dialog.
void ExpectNothingCut(const QDialog& dialog) {
  SCOPED_TRACE(dialog.windowTitle().toStdString());
  for (const QWidget* widget : dialog.findChildren<QWidget*>()) {
    const auto* label = qobject_cast<const QLabel*>(widget);
    const auto* group = qobject_cast<const QGroupBox*>(widget);
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    const QString text = label != nullptr ? label->text()
                         : group != nullptr ? group->title()
                         : button != nullptr ? button->text()
                                             : QString();
    if (text.isEmpty() || widget->isHidden()) continue;
    SCOPED_TRACE(text.toStdString());
    if (label != nullptr && label->wordWrap()) {
      EXPECT_LE(label->heightForWidth(label->width()), label->height());
    } else {
      EXPECT_LE(widget->sizeHint().width(), widget->width());
      EXPECT_LE(widget->sizeHint().height(), widget->height());
    }
    const QRect inDialog(widget->mapTo(&dialog, QPoint(0, 0)), widget->size());
    EXPECT_TRUE(dialog.rect().contains(inDialog)) << inDialog.x() << "," << inDialog.y();
  }
}

// The widest SAM name character in `widget`'s font.
std::string WidestIn(const QWidget& widget) {
  const QFontMetrics metrics = widget.fontMetrics();
  return WidestNameCharacter(
      [&](std::string_view text) { return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))); });
}

void ExpectWidestTextsFit(MainWindow& window) {
  UiServices& ui = window.Services();
  ui::testing::AppendWidestRows(ui, WidestIn(*window.Parts().ListView1));
  const std::string widest = WidestIn(*window.Parts().Panels[1]);
  for (int panel = 0; panel < kStatusPanels; ++panel) {
    for (const std::string& text : WidestPanelTexts(panel, widest)) {
      ui.SetStatusPanel(panel, text);
      QTest::qWait(1);
      SCOPED_TRACE(text);
      ExpectTextsFit(window);
    }
  }
}

void ExpectDialogsFit(MainWindow& window) {
  for (const char* name : {"OKBottomDlg1", "OKBottomDlg2", "OKBottomDlg"}) {
    const auto* dialog = window.findChild<QDialog*>(name);
    ASSERT_NE(dialog, nullptr) << name;
    ExpectNothingCut(*dialog);
  }
  bool shown = false;
  ui::qt::testing::WhenModalShows([&shown](QWidget& about) {
    ExpectNothingCut(static_cast<QDialog&>(about));
    shown = true;
    static_cast<QDialog&>(about).accept();
  });
  ShowAboutBox(&window);
  EXPECT_TRUE(shown);
}

class AtPointSize : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { saved_ = QApplication::font(); }
  void TearDown() override { QApplication::setFont(saved_); }
  static void UsePointSize(int points) {
    QFont font = QApplication::font();
    font.setPointSize(points);
    QApplication::setFont(font);
  }

 private:
  QFont saved_;
};

TEST_P(AtPointSize, TheWindowAndTheDialogsHoldTheirWidestTexts) {
  UsePointSize(GetParam());
  MainWindow window;
  window.CreateDialogs();
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.Form1().LoadName = VELLONIX_SAMPLE_IMAGE;
  window.Form1().LoadDiskImage();
  ASSERT_TRUE(window.Form1().ImageLoaded);
  QTest::qWait(10);
  {
    SCOPED_TRACE("sample image");
    ExpectTextsFit(window);
  }
  ExpectWidestTextsFit(window);
  ExpectDialogsFit(window);
}

// The desktop's font changing while the program runs: everything fits the
// new font at once.
TEST_P(AtPointSize, AFontChangeWhileRunningIsFittedAgain) {
  UsePointSize(8);
  MainWindow window;
  window.CreateDialogs();
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const int before = window.width();
  UsePointSize(GetParam());
  QTest::qWait(10);
  if (GetParam() > 8) {
    EXPECT_GT(window.width(), before);
  }
  ExpectWidestTextsFit(window);
  ExpectDialogsFit(window);
}

INSTANTIATE_TEST_SUITE_P(Fonts, AtPointSize, ::testing::Values(8, 11, 14),
                         [](const auto& size) { return std::to_string(size.param) + "pt"; });

// However large the font, the window stays within the screen's room: as it
// opens, and when a larger font comes while it stands at the screen's edge.
TEST(MainWindowOnScreen, NeverLargerThanTheScreenNorPastItsEdge) {
  const QFont saved = QApplication::font();
  const auto usePointSize = [&saved](int points) {
    QFont font = saved;
    font.setPointSize(points);
    QApplication::setFont(font);
  };
  usePointSize(8);
  {
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRect room = window.screen()->availableGeometry();
    EXPECT_TRUE(room.contains(window.frameGeometry()));
    window.move(room.right() + 1 - window.frameGeometry().width(), room.bottom() + 1 - window.frameGeometry().height());
    QTest::qWait(10);
    usePointSize(14);
    QTest::qWait(10);
    EXPECT_TRUE(room.contains(window.frameGeometry()))
        << window.frameGeometry().x() << "," << window.frameGeometry().y() << " " << window.frameGeometry().width()
        << "x" << window.frameGeometry().height();
  }
  QApplication::setFont(saved);
}

}  // namespace
}  // namespace vellonix::ui::qt
