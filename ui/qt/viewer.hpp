// View File's window: modeless, one per file viewed. A listing or a dump
// stands in a read-only text view in the desktop's fixed-width font, a
// picture at 512 x 384 pixel for pixel; a note, when the view has one,
// below it. Ctrl+C copies the text (the selected part, when there is one)
// or the picture; Esc closes the window.
#pragma once

#include <QImage>
#include <QWidget>

#include "vellonix/ui/file_viewer.hpp"

class QLabel;
class QPlainTextEdit;

namespace vellonix::ui::qt {

// The picture as Qt holds one, row for row.
QImage ToQImage(const formats::RgbImage& picture);

class ViewerWindow : public QWidget {
 public:
  ViewerWindow(const FileView& view, QWidget* mainWindow);

  void CopyToClipboard();

  // What the window shows, for tests.
  QPlainTextEdit* TextView() const { return text_; }
  const QImage& Picture() const { return picture_; }
  QLabel* Note() const { return note_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPlainTextEdit* text_ = nullptr;
  QLabel* note_ = nullptr;
  QImage picture_;
};

}  // namespace vellonix::ui::qt
