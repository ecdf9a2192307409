// The program: the application title and font, the main window, then the
// windows that live for the whole run; an image named on the command line
// is opened once the window is up.
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTimer>

#include "image_list.hpp"
#include "unit1.hpp"

namespace {

QFont ProgramFont() {
  QFont font(QStringLiteral("MS Sans Serif"), 8);
  if (QFontInfo(font).family() == font.family()) return font;
  font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPointSize(8);
  return font;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vellonix"));
  // The application title stands in every window's caption already; Qt
  // would append a display name to each caption, so none is set.
  QApplication::setApplicationVersion(QStringLiteral(VELLONIX_VERSION));
  QApplication::setFont(ProgramFont());
  QApplication::setWindowIcon(vellonix::ui::qt::ProgramIcon());

  vellonix::ui::qt::MainWindow window;
  window.CreateDialogs();
  window.show();

  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) {
    // Until the command-line rules arrive, the program opens the last image given.
    const std::string path = arguments.back().toUtf8().toStdString();
    QTimer::singleShot(0, &window, [&window, path] {
      window.Form1().RunCommand([&window, path] {
        window.Form1().LoadName = path;
        window.Form1().LoadDiskImage();
      });
    });
  }
  return QApplication::exec();
}
