// Runs the start-up work once the event loop runs with the main window
// shown: at the application's first activation, or, where none has come by
// then, at the loop's first pass. Hosts without a window manager, and
// compositors that refuse activation to a program another one started,
// never report one, and a file named on the command line must still open.
#pragma once

#include <functional>

#include <QObject>

namespace vellonix::ui::qt {

class ColdStartHook : public QObject {
 public:
  // Hooks `coldStart`; the hook goes with `parent`.
  ColdStartHook(std::function<void()> coldStart, QObject* parent);

 private:
  // Unhooks first: the message boxes that loading may show reactivate the
  // application and must not run the work again.
  void Run();

  std::function<void()> coldStart_;
  QMetaObject::Connection activation_;
};

}  // namespace vellonix::ui::qt
