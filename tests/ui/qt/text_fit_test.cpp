// Every text of the list and of the status bar fits its column or panel,
// for the sample image and for the widest texts they usually show, with the
// program's font and with the host's default font. ctest runs these at
// Qt's 1×, 1.5× and 2× scale.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include "../usual_rows.hpp"
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

class TextFit : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    saved_ = QApplication::font();
    QApplication::setFont(GetParam() ? ProgramFont() : QFontDatabase::systemFont(QFontDatabase::GeneralFont));
  }
  void TearDown() override { QApplication::setFont(saved_); }

 private:
  QFont saved_;
};

TEST_P(TextFit, SampleImageAndUsualTexts) {
  MainWindow window;
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

  UiServices& ui = window.Services();
  ui::testing::AppendUsualRows(ui);
  for (int panel = 0; panel < kStatusPanels; ++panel) {
    for (const std::string_view text : UsualPanelTexts(panel)) {
      ui.SetStatusPanel(panel, std::string(text));
      QTest::qWait(1);
      SCOPED_TRACE("usual texts");
      ExpectTextsFit(window);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Fonts, TextFit, ::testing::Values(true, false),
                         [](const auto& font) { return font.param ? "ProgramFont" : "HostDefaultFont"; });

}  // namespace
}  // namespace vellonix::ui::qt
