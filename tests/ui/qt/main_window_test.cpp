// The main window as built: size, list columns, status panels and menu, and
// what the UI services leave in those widgets after a load.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "../sample_disks.hpp"
#include "modal_helper.hpp"
#include "qt_printers.hpp"
#include "unit1.hpp"

namespace vellonix::ui::qt {
namespace {

using ui::testing::SampleDisk;
using ui::testing::WriteSampleDisk;
using vellonix::testing::ScratchDir;

TEST(MainWindow, HasTheFixedFrameListColumnsAndPanels) {
  MainWindow window;
  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  // The base sizes, scaled for the font (see TextFit).
  const MainWindowMetrics& metrics = window.Metrics();
  EXPECT_GE(metrics.Scale, 1.0);
  EXPECT_EQ(window.width(), metrics.Client.Width);
  EXPECT_EQ(window.height() - window.menuBar()->sizeHint().height(), metrics.Client.Height);
  EXPECT_EQ(window.statusBar()->height(), metrics.StatusBarHeight);

  const QTreeWidget* list = window.Parts().ListView1;
  const QStringList captions{"File #", "Filename", "Size", "Type", "Details", "Date stamp"};
  ASSERT_EQ(list->columnCount(), captions.size());
  for (int column = 0; column < list->columnCount(); ++column) {
    EXPECT_EQ(list->headerItem()->text(column), captions[column]);
    EXPECT_EQ(list->columnWidth(column), metrics.Columns[static_cast<std::size_t>(column)]) << column;
  }
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
  for (std::size_t panel = 0; panel < kPanelWidths.size(); ++panel) {
    EXPECT_EQ(window.Parts().Panels[panel]->width(), metrics.Panels[panel]);
  }
}

TEST(MainWindow, MenuFollowsTheTableWithTheStartUpStates) {
  MainWindow window;
  window.Form1();  // FormCreate has run
  QStringList seen;
  for (QAction* top : window.menuBar()->actions()) {
    seen << top->text();
    if (top->menu() == nullptr) continue;
    for (QAction* item : top->menu()->actions()) seen << (item->isSeparator() ? "-" : item->text());
  }
  EXPECT_EQ(seen, (QStringList{"&File", "&Open diskimage", "Import diskimage...", "&Save diskimage", "Save diskimage &as ...",
                               "&New diskimage", "&Change diskname", "-", "&Extract File", "&View File",
                               "&Add File", "&Rename File", "&Delete File", "-", "E&xit", "&SAM disk", "&Load",
                               "&Save", "&Format", "&Options", "&About"}));

  const struct {
    MenuItem Item;
    QKeySequence Shortcut;
    bool Enabled;
  } expected[] = {
      {MenuItem::Opendiskimage1, QKeySequence("Ctrl+O"), true}, {MenuItem::Importdiskimage1, QKeySequence("Ctrl+I"), true},
      {MenuItem::Savediskimage1, QKeySequence("Ctrl+S"), false},
      {MenuItem::Savediskimageas1, QKeySequence("F12"), false}, {MenuItem::Newdiskimage1, QKeySequence("Ctrl+N"), true},
      {MenuItem::Changediskname1, QKeySequence("Ctrl+C"), false}, {MenuItem::ExtractFile1, QKeySequence("Ctrl+E"), false},
      {MenuItem::ViewFile1, QKeySequence("Ctrl+V"), false},     {MenuItem::AddFile1, QKeySequence("Ctrl+A"), false},
      {MenuItem::RenameFile1, QKeySequence("Ctrl+R"), false},   {MenuItem::DeleteFile1, QKeySequence("Del"), false},
      {MenuItem::Exit1, QKeySequence(), true},                  {MenuItem::LOAD1, QKeySequence(), true},
      {MenuItem::Save1, QKeySequence(), true},                  {MenuItem::Options1, QKeySequence(), true},
      {MenuItem::about1, QKeySequence(), true},
  };
  for (const auto& e : expected) {
    const QAction* action = window.Action(e.Item);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->shortcut(), e.Shortcut) << action->text().toStdString();
    EXPECT_EQ(action->isEnabled(), e.Enabled) << action->text().toStdString();
  }
  EXPECT_FALSE(window.Action(MenuItem::Format1)->isVisible());
  EXPECT_EQ(window.windowTitle(), "SAM Coupé Vellonix - No diskimage loaded");
}

TEST(MainWindow, ALoadedImageLandsInTheWidgets) {
  const ScratchDir dir;
  MainWindow window;
  window.Form1().LoadName = WriteSampleDisk(dir, "mixed.sad", SampleDisk::Mixed);
  window.Form1().LoadDiskImage();

  const QTreeWidget* list = window.Parts().ListView1;
  ASSERT_EQ(list->topLevelItemCount(), 5);
  const QTreeWidgetItem* first = list->topLevelItem(0);
  EXPECT_EQ(first->text(0), "1");
  EXPECT_EQ(first->text(1), "loader    ");
  EXPECT_EQ(first->text(4), "Autostart at line 10");
  EXPECT_TRUE(first->icon(0).isNull());    // no row mark
  EXPECT_FALSE(first->icon(1).isNull());   // its type
  EXPECT_EQ(list->topLevelItem(1)->text(1), "café.bin  ");  // SAM bytes shown as Latin-1
  EXPECT_TRUE(first->isSelected());
  int marked = 0;
  for (int row = 0; row < list->topLevelItemCount(); ++row) marked += !list->topLevelItem(row)->icon(0).isNull();
  EXPECT_EQ(marked, 3);  // the hidden file and the two corrupted ones

  EXPECT_EQ(window.Parts().Panels[0]->text(), "MasterDOS format");
  EXPECT_EQ(window.Parts().Panels[1]->text(), "Disk name: Disk © 99 ");
  EXPECT_EQ(window.windowTitle(), "SAM Coupé Vellonix - mixed.sad");
  for (const MenuItem item : {MenuItem::Savediskimage1, MenuItem::ExtractFile1, MenuItem::DeleteFile1,
                              MenuItem::ViewFile1})
    EXPECT_TRUE(window.Action(item)->isEnabled());
}

TEST(MainWindow, MenuCommandsRunThroughTheirShortcutsAndCloseAsksFirst) {
  MainWindow window;
  window.CreateDialogs();
  window.show();
  window.activateWindow();

  // Ctrl+N shows the New dialog; OK there makes an unsaved MasterDOS disk.
  ui::qt::testing::WhenModalShows([](QWidget& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "New diskimage");
    auto* dlg = static_cast<QDialog*>(&dialog);
    dlg->accept();
  });
  window.Action(MenuItem::Newdiskimage1)->trigger();
  EXPECT_TRUE(window.Form1().ImageModified);
  EXPECT_EQ(window.windowTitle(), "SAM Coupé Vellonix - Untitled.mgt");

  // Closing asks; Cancel keeps the window.
  ui::qt::testing::WhenModalShows([](QWidget& box) {
    auto* message = qobject_cast<QMessageBox*>(&box);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text(), "Save changes to diskimage ?");
    message->reject();
  });
  window.Action(MenuItem::Exit1)->trigger();
  EXPECT_TRUE(window.isVisible());

  ui::qt::testing::WhenModalShows([](QWidget& box) {
    auto* message = qobject_cast<QMessageBox*>(&box);
    ASSERT_NE(message, nullptr);
    for (QAbstractButton* button : message->buttons()) {
      if (button->text() == "&No") button->click();
    }
  });
  window.close();
  EXPECT_FALSE(window.isVisible());
}

TEST(MainWindow, ShortcutsReachTheirItemsWhileTheListHasFocus) {
  const ScratchDir dir;
  MainWindow window;
  window.show();
  window.activateWindow();
  window.Form1().LoadName = WriteSampleDisk(dir, "mixed.mgt", SampleDisk::Mixed);
  window.Form1().LoadDiskImage();
  QTreeWidget* list = window.Parts().ListView1;
  list->setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

  for (const MenuItem item : {MenuItem::Savediskimage1, MenuItem::Savediskimageas1, MenuItem::Changediskname1,
                              MenuItem::ExtractFile1, MenuItem::AddFile1, MenuItem::RenameFile1,
                              MenuItem::DeleteFile1, MenuItem::Opendiskimage1, MenuItem::Importdiskimage1,
                              MenuItem::Newdiskimage1, MenuItem::ViewFile1}) {
    QAction* action = window.Action(item);
    // Only whether the key reaches the item: the command itself is not run.
    QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
    QSignalSpy triggered(action, &QAction::triggered);
    const QKeyCombination key = action->shortcut()[0];
    QTest::keyClick(list, key.key(), key.keyboardModifiers());
    EXPECT_EQ(triggered.count(), 1) << action->text().toStdString();
  }
}

}  // namespace
}  // namespace vellonix::ui::qt
