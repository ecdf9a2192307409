// Images reaching the main window from outside: the start-up hook that
// opens the command line's images, and files dropped from a file manager.
// Host names that are no UTF-8 must arrive byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QPushButton>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include "../sample_disks.hpp"
#include "cold_start_hook.hpp"
#include "host_path.hpp"
#include "modal_helper.hpp"
#include "unit1.hpp"

namespace vellonix::ui::qt {
namespace {

using ui::testing::SampleDisk;
using ui::testing::WriteSampleDisk;
using vellonix::testing::ScratchDir;

class RecordingLauncher : public InstanceLauncher {
 public:
  void StartInstance(const std::string& file) override { files.push_back(file); }
  std::vector<std::string> files;
};

// While it lives, any box that shows fails the test and is closed: a name
// that reached the host changed would end in an error box.
class NoBoxExpected {
 public:
  NoBoxExpected() {
    QObject::connect(&timer_, &QTimer::timeout, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        ADD_FAILURE() << "unexpected box: " << box->text().toStdString();
        box->reject();
      }
    });
    timer_.start(5);
  }

 private:
  QTimer timer_;
};

// A Latin-1 name: legal on Linux, no UTF-8, so no QString can hold it.
const std::string kLatin1Name = "caf\xE9.mgt";

TEST(ColdStartHook, RunsOnceWhenTheLoopRunsAndNeverAgain) {
  QWidget window;
  int runs = 0;
  new ColdStartHook(
      [&] {
        ++runs;
        // A box shown by the work reactivates the application.
        ui::qt::testing::WhenModalShows([](QWidget& box) { static_cast<QMessageBox&>(box).accept(); });
        QMessageBox::information(&window, "Error", "Invalid diskimage");
      },
      &window);
  window.show();
  EXPECT_EQ(runs, 0);  // not before the loop runs
  QTest::qWait(50);
  EXPECT_EQ(runs, 1);
  window.activateWindow();
  emit qApp->applicationStateChanged(Qt::ApplicationActive);
  QTest::qWait(20);
  EXPECT_EQ(runs, 1);

  // An activation that comes first runs it at once, and only then.
  new ColdStartHook([&] { ++runs; }, &window);
  emit qApp->applicationStateChanged(Qt::ApplicationActive);
  EXPECT_EQ(runs, 2);
  QTest::qWait(20);
  EXPECT_EQ(runs, 2);
}

TEST(CommandLine, OpensTheLastImageAndStartsTheOthersByteForByte) {
  const ScratchDir dir;
  const std::string first = WriteSampleDisk(dir, kLatin1Name, SampleDisk::Mixed);
  const std::string last = WriteSampleDisk(dir, "d\xE9j\xE0 vu.sad", SampleDisk::BDos);
  std::string a = first, b = dir.File("missing.mgt"), c = last;
  char program[] = "vellonix";
  char* argv[] = {program, a.data(), b.data(), c.data(), nullptr};

  RecordingLauncher launcher;
  MainWindow window(launcher);
  const NoBoxExpected noBox;
  window.HookColdStart(CommandLineArguments(4, argv));
  window.show();
  QTest::qWait(50);

  EXPECT_EQ(launcher.files, std::vector<std::string>{first});
  EXPECT_TRUE(window.Form1().ImageLoaded);
  EXPECT_EQ(window.Form1().DocumentPath, last);
}

// A window manager places the window once it is mapped, after the loop has
// begun: the box of a refused command-line file must stand on the window
// where it was placed, not where it was before.
TEST(CommandLine, TheBoxOfARefusedFileStandsOnThePlacedWindow) {
  const ScratchDir dir;
  const std::string notes = dir.WriteFilled("notes.txt", 6);
  MainWindow window;
  window.show();
  window.HookColdStart({notes});
  QTimer::singleShot(0, &window, [&window] { window.move(300, 200); });
  std::optional<QPoint> at;
  QPoint expected;
  ui::qt::testing::WhenModalShows([&](QWidget& box) {
    at = box.pos();
    const ScreenPoint centred = CentredBoxOrigin(window.Services().MainWindowRect(), 161);
    expected = {centred.X, centred.Y};
    EXPECT_EQ(static_cast<QMessageBox&>(box).informativeText().toStdString(),
              notes + ": 6 bytes; an image has 819,200 (.mgt) or 819,222 (.sad)");
    box.close();
  });
  QTest::qWait(300);
  ASSERT_TRUE(at.has_value());
  EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(300, 200));
  EXPECT_EQ(*at, expected);
}

std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// Accepts the file dialog as it opened, then answers the question Save As
// asks before it replaces the file.
void KeepTheProposedName(bool expectReplaceQuestion) {
  ui::qt::testing::WhenModalShows([expectReplaceQuestion](QWidget& shown) {
    auto* dialog = qobject_cast<QFileDialog*>(&shown);
    ASSERT_NE(dialog, nullptr);
    if (expectReplaceQuestion) {
      ui::qt::testing::WhenModalShows([](QWidget& box) {
        ASSERT_NE(qobject_cast<QMessageBox*>(&box), nullptr);
        EXPECT_TRUE(static_cast<QMessageBox&>(box).text().endsWith("already exists.\nDo you want to replace it?"));
        static_cast<QMessageBox&>(box).button(QMessageBox::Yes)->click();
      });
    }
    static_cast<QDialog*>(dialog)->accept();  // as its Save or Open button does
    // A dialog that refused the name stays up, with a box over it: that
    // fails, and ends both.
    QTimer::singleShot(300, dialog, [dialog] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        ADD_FAILURE() << "unexpected box: " << box->text().toStdString();
        box->reject();
      }
      if (!dialog->isVisible()) return;
      ADD_FAILURE() << "the dialog kept its place";
      dialog->reject();
    });
  });
}

// Qt shows a name that is no UTF-8 with U+FFFD; kept as proposed, it must
// still lead to the file itself: Save As saves over it (after asking) and
// makes no second file, and Open opens it again.
TEST(Latin1Name, SaveAsAndOpenKeepTheFileTheDialogsCannotShow) {
  const ScratchDir dir;
  const std::string image = WriteSampleDisk(dir, kLatin1Name, SampleDisk::Mixed);
  MainWindow window;
  window.show();
  TForm1& form = window.Form1();
  form.LoadName = image;
  form.LoadDiskImage();
  ASSERT_TRUE(form.ImageLoaded);
  form.ImageModified = true;

  KeepTheProposedName(true);
  form.RunCommand(&TForm1::Savediskimageas1Click);
  EXPECT_EQ(form.DocumentPath, image);
  EXPECT_FALSE(form.ImageModified);
  EXPECT_EQ(NamesIn(dir.File("")), std::set<std::string>{kLatin1Name});

  KeepTheProposedName(false);
  form.RunCommand(&TForm1::Opendiskimage1Click);
  EXPECT_TRUE(form.ImageLoaded);
  EXPECT_EQ(form.DocumentPath, image);
}

// Sends what a file manager sends: a drag entering the window, then the drop.
bool DragAndDrop(QWidget& target, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  const QPoint at = target.rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&target, &drop);
  QTest::qWait(20);  // the drop is handled once it has ended
  return drop.isAccepted();
}

TEST(Drop, LocalFilesRunTheDropCommandInTheirOrder) {
  const ScratchDir dir;
  const std::string x = WriteSampleDisk(dir, "x.mgt", SampleDisk::Mixed);
  const std::string z = WriteSampleDisk(dir, "z " + kLatin1Name, SampleDisk::BDos);
  RecordingLauncher launcher;
  MainWindow window(launcher);
  window.show();
  const NoBoxExpected noBox;

  // A drop with nothing local in it is refused at the door.
  EXPECT_FALSE(DragAndDrop(window, {QUrl("https://example.org/remote.mgt")}));

  const QUrl latin1 = QUrl::fromEncoded("file://" + QByteArray::fromStdString(z).toPercentEncoding("/"));
  ASSERT_TRUE(DragAndDrop(*window.Parts().ListView1->viewport(), {QUrl::fromLocalFile(QtPath(x)),
                                                      QUrl("https://example.org/remote.mgt"),
                                                      QUrl::fromLocalFile(QtPath(dir.File("y.txt"))), latin1}));
  EXPECT_EQ(launcher.files, std::vector<std::string>{x});
  EXPECT_TRUE(window.Form1().ImageLoaded);
  EXPECT_EQ(window.Form1().DocumentPath, z);
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("SAM Coupé Vellonix - z caf\xEF\xBF\xBD.mgt"));
}

}  // namespace
}  // namespace vellonix::ui::qt
