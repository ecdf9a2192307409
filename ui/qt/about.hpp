// TAboutBox: made, shown and destroyed on every use.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vellonix::ui::qt {

class TAboutBox : public QDialog {
 public:
  explicit TAboutBox(QWidget* parent);

  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QLabel* Comments = nullptr;
  QPushButton* OKButton = nullptr;
};

// Runs a new About box centred on `parent`.
void ShowAboutBox(QWidget* parent);

}  // namespace vellonix::ui::qt
