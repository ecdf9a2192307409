#include "cold_start_hook.hpp"

#include <QGuiApplication>
#include <QTimer>

namespace vellonix::ui::qt {

ColdStartHook::ColdStartHook(std::function<void()> coldStart, QObject* parent)
    : QObject(parent), coldStart_(std::move(coldStart)) {
  activation_ = connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state == Qt::ApplicationActive) Run();
  });
  QTimer::singleShot(0, this, &ColdStartHook::Run);
}

void ColdStartHook::Run() {
  if (!coldStart_) return;
  disconnect(activation_);
  const std::function<void()> work = std::exchange(coldStart_, nullptr);
  work();
}

}  // namespace vellonix::ui::qt
