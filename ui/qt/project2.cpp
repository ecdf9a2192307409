// The program: the application title, the main window, then the
// windows that live for the whole run; the images named on the command line
// are opened once the event loop runs.
#include <QApplication>

#include "host_path.hpp"
#include "image_list.hpp"
#include "unit1.hpp"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);  // takes Qt's own options out of argc and argv
  QApplication::setApplicationName(QStringLiteral("vellonix"));
  // The application title stands in every window's caption already; Qt
  // would append a display name to each caption, so none is set.
  QApplication::setApplicationVersion(QStringLiteral(VELLONIX_VERSION));
  // Ties the windows to the installed desktop entry (its name and icon).
  QGuiApplication::setDesktopFileName(QStringLiteral(VELLONIX_APP_ID));
  // The windows take the font the desktop sets (its theme, QT_FONT_DPI,
  // the scale) and fit themselves to it, again whenever it changes.
  QApplication::setWindowIcon(vellonix::ui::qt::ProgramIcon());

  vellonix::ui::qt::MainWindow window;
  window.CreateDialogs();
  window.show();
  window.HookColdStart(vellonix::ui::qt::CommandLineArguments(argc, argv));
  return QApplication::exec();
}
