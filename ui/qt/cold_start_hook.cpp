#include "cold_start_hook.hpp"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace vellonix::ui::qt {

namespace {
// A window that never reaches the screen (started minimised, a session
// that maps nothing) must not keep the files from opening: after this
// many looks, two seconds, the work runs all the same.
constexpr int kPollInterval = 10;
constexpr int kMostPolls = 200;
}  // namespace

ColdStartHook::ColdStartHook(std::function<void()> coldStart, QWidget* window)
    : QObject(window), coldStart_(std::move(coldStart)), window_(window) {
  activation_ = connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state == Qt::ApplicationActive && WindowPlaced()) Run();
  });
  connect(&poll_, &QTimer::timeout, this, [this] {
    if (WindowPlaced() || ++polls_ >= kMostPolls) Run();
  });
  // The first look comes when the loop first runs, the later ones apart.
  poll_.start(0);
  poll_.setInterval(kPollInterval);
}

bool ColdStartHook::WindowPlaced() const {
  // Exposed: mapped by the window server, after the window manager chose
  // its place; its geometry has come back with it.
  const QWindow* handle = window_->windowHandle();
  return window_->isVisible() && handle != nullptr && handle->isExposed();
}

void ColdStartHook::Run() {
  if (!coldStart_) return;
  disconnect(activation_);
  poll_.stop();
  const std::function<void()> work = std::exchange(coldStart_, nullptr);
  work();
}

}  // namespace vellonix::ui::qt
