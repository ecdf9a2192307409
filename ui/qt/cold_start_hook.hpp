// Runs the start-up work once the event loop runs with the main window
// shown where the window manager placed it: at the application's first
// activation, or, where none has come by then, once the window is on the
// screen. Hosts without a window manager, and compositors that refuse
// activation to a program another one started, never report one, and a
// file named on the command line must still open; a box it brings must
// stand on the window where it is, which is known only once it is mapped.
#pragma once

#include <functional>

#include <QObject>
#include <QTimer>

class QWidget;

namespace vellonix::ui::qt {

class ColdStartHook : public QObject {
 public:
  // Hooks `coldStart` for `window`; the hook goes with it.
  ColdStartHook(std::function<void()> coldStart, QWidget* window);

 private:
  bool WindowPlaced() const;
  // Unhooks first: the message boxes that loading may show reactivate the
  // application and must not run the work again.
  void Run();

  std::function<void()> coldStart_;
  QWidget* window_;
  QMetaObject::Connection activation_;
  QTimer poll_;
  int polls_ = 0;
};

}  // namespace vellonix::ui::qt
