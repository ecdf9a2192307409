// View File in the widgets: the list's selection switching the command,
// the ways a viewer opens, what it draws and what Ctrl+C copies.
#include <gtest/gtest.h>

#include <functional>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include "qt_printers.hpp"
#include "unit1.hpp"
#include "viewer.hpp"

namespace vellonix::ui::qt {
namespace {

// The sample's loader (row 0), its title picture (row 4) and a Code file.
constexpr int kLoaderRow = 0;
constexpr int kLibraryRow = 2;
constexpr int kTitleRow = 4;

std::vector<ViewerWindow*> OpenViewers() {
  std::vector<ViewerWindow*> viewers;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* viewer = dynamic_cast<ViewerWindow*>(widget); viewer != nullptr && viewer->isVisible()) {
      viewers.push_back(viewer);
    }
  }
  return viewers;
}

class ViewerWidgets : public ::testing::Test {
 protected:
  ViewerWidgets() {
    window_.show();
    window_.Form1().LoadName = VELLONIX_SAMPLE_IMAGE;
    window_.Form1().LoadDiskImage();
  }
  ~ViewerWidgets() override {
    for (ViewerWindow* viewer : OpenViewers()) delete viewer;
  }
  QTreeWidget& List() { return *window_.Parts().ListView1; }
  void Select(int row) { List().setCurrentItem(List().topLevelItem(row)); }
  // The one viewer open, closed as the test takes it.
  ViewerWindow* OnlyViewer() {
    const auto viewers = OpenViewers();
    EXPECT_EQ(viewers.size(), 1u);
    return viewers.empty() ? nullptr : viewers.front();
  }

  MainWindow window_;
};

TEST_F(ViewerWidgets, TheCommandFollowsTheListsSelection) {
  QAction* view = window_.Action(MenuItem::ViewFile1);
  EXPECT_TRUE(view->isEnabled());
  List().clearSelection();
  EXPECT_FALSE(view->isEnabled());
  Select(kTitleRow);
  EXPECT_TRUE(view->isEnabled());
}

TEST_F(ViewerWidgets, DoubleClickEnterAndTheMenuOpenAViewerOnTheSelectedFile) {
  const struct {
    const char* How;
    int Row;
    std::function<void(MainWindow&, QTreeWidget&)> Open;
    const char* Caption;
  } ways[] = {
      {"menu", kLoaderRow, [](MainWindow& window, QTreeWidget&) { window.Action(MenuItem::ViewFile1)->trigger(); },
       "loader (File # 1)"},
      {"double click", kTitleRow,
       [](MainWindow&, QTreeWidget& list) {
         const QRect cell = list.visualItemRect(list.topLevelItem(kTitleRow));
         QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cell.center());
         QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, cell.center());
              },
       "title.scr (File # 5)"},
      {"Enter", kLibraryRow,
       [](MainWindow&, QTreeWidget& list) {
         list.setFocus();
         QTest::keyClick(&list, Qt::Key_Return);
       },
       "library (File # 3)"},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.How);
    Select(way.Row);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    way.Open(window_, List());
    ViewerWindow* viewer = OnlyViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->windowTitle(), way.Caption);
    delete viewer;
  }
}

TEST_F(ViewerWidgets, ThePictureIsDrawnAndCopiedPixelForPixel) {
  Select(kTitleRow);
  window_.Action(MenuItem::ViewFile1)->trigger();
  ViewerWindow* viewer = OnlyViewer();
  ASSERT_NE(viewer, nullptr);
  viewer->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(viewer));
  const FileView expected = ViewOfFile(window_.Form1().DiskImageBuffer(), 4);
  ASSERT_EQ(viewer->Picture().size(), QSize(512, 384));
  EXPECT_EQ(viewer->TextView(), nullptr);
  for (const QPoint at : {QPoint(0, 0), QPoint(256, 200), QPoint(511, 383)}) {
    const formats::Rgb pixel = expected.Picture.At(at.x(), at.y());
    EXPECT_EQ(viewer->Picture().pixelColor(at), QColor(pixel.R, pixel.G, pixel.B)) << at.x() << "," << at.y();
  }
  // What the window paints is the picture, unscaled.
  const QImage painted = viewer->grab().toImage().convertToFormat(QImage::Format_RGB888);
  QPoint origin(-1, -1);
  for (const QWidget* child : viewer->findChildren<QWidget*>()) {
    if (child->size() == viewer->Picture().size()) origin = child->pos();
  }
  ASSERT_NE(origin, QPoint(-1, -1));
  EXPECT_EQ(painted.copy(QRect(origin, QSize(512, 384))), viewer->Picture());

  QApplication::clipboard()->clear();
  QTest::keyClick(viewer, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB888), viewer->Picture());
}

TEST_F(ViewerWidgets, CtrlCCopiesTheWholeListingOrTheSelectedPart) {
  window_.Action(MenuItem::ViewFile1)->trigger();
  ViewerWindow* viewer = OnlyViewer();
  ASSERT_NE(viewer, nullptr);
  QPlainTextEdit* text = viewer->TextView();
  ASSERT_NE(text, nullptr);
  const QString listing = text->toPlainText();
  EXPECT_TRUE(listing.startsWith("   10 REM Vellonix sample disk\n   20 MODE 4: CLS \n")) << listing.toStdString();
  EXPECT_TRUE(text->isReadOnly());
  EXPECT_EQ(viewer->Note(), nullptr);  // the program ends with its marker

  text->setFocus();
  QApplication::clipboard()->clear();
  QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), listing);

  QTextCursor cursor = text->textCursor();
  cursor.movePosition(QTextCursor::Start);
  cursor.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
  text->setTextCursor(cursor);
  QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "   10 REM Vellonix sample disk");

  // The listing fits without scrolling sideways.
  ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
  EXPECT_FALSE(text->horizontalScrollBar()->isVisible());
}

}  // namespace
}  // namespace vellonix::ui::qt
