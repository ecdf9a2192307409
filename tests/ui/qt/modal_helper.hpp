// Plays the user inside a modal window: once the next modal widget is up,
// `act` runs on it (and should close it).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace vellonix::ui::qt::testing {

inline void WhenModalShows(std::function<void(QWidget&)> act) {
  auto* timer = new QTimer();
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, act = std::move(act)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) {
      if (++*tries < 500) return;
      ADD_FAILURE() << "no modal window appeared";
    } else {
      act(*modal);
    }
    timer->stop();
    timer->deleteLater();
  });
  timer->start(10);
}

}  // namespace vellonix::ui::qt::testing
