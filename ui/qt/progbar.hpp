// TForm2, the progress window of the floppy transfers: a fixed dialog frame
// without a close box and one bar, shown modeless over the main window.
#pragma once

#include <QWidget>

class QProgressBar;

namespace vellonix::ui::qt {

class TForm2 : public QWidget {
 public:
  explicit TForm2(QWidget* mainWindow);

  // Shows the window centred on the main window when it is hidden, sets
  // the caption and the bar, and repaints it at once. The transfer runs on
  // this thread and takes no input, but between its steps the window paints
  // and the desktop's liveness pings are answered, so that a long transfer
  // neither freezes the picture nor looks hung.
  void ShowProgress(const QString& caption, int position);
  void HideProgress();

  QProgressBar* ProgressBar1 = nullptr;
};

}  // namespace vellonix::ui::qt
