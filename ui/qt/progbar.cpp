#include "progbar.hpp"

#include <QApplication>
#include <QProgressBar>

#include "dialog_support.hpp"
#include "vellonix/ui/dialog_layouts.hpp"
#include "vellonix/ui/progress_window.hpp"

namespace vellonix::ui::qt {

TForm2::TForm2(QWidget* mainWindow) : QWidget(mainWindow, Qt::Dialog) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(progbar_layout::kClient.Width, progbar_layout::kClient.Height);
  setWindowTitle(QString::fromUtf8(kProgressWindowCaption));
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setGeometry(ToQt(progbar_layout::kProgressBar1));
  ProgressBar1->setRange(kProgressMin, kProgressMax);
  ProgressBar1->setValue(kProgressStart);
  ProgressBar1->setTextVisible(false);  // a plain smooth bar
  hide();
}

void TForm2::ShowProgress(const QString& caption, int position) {
  setWindowTitle(caption);
  ProgressBar1->setValue(position);
  if (!isVisible()) {
    CentreOnParent(*this);
    show();
  }
  repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm2::HideProgress() { hide(); }

}  // namespace vellonix::ui::qt
