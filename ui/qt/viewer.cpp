#include "viewer.hpp"

#include <cstring>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include "dialog_support.hpp"

namespace vellonix::ui::qt {

namespace {

static_assert(sizeof(formats::Rgb) == 3, "pixels are copied row by row as RGB888");

// Draws the picture pixel for pixel into its 512 x 384, unsmoothed at any
// screen scale.
class PictureView : public QWidget {
 public:
  PictureView(const QImage& picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    setFixedSize(picture.size());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), picture_);
  }

 private:
  const QImage& picture_;
};

QPlainTextEdit* NewTextView(const FileView& view, QWidget* parent) {
  auto* text = new QPlainTextEdit(parent);
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text->setPlainText(FromUtf8(view.Text()));
  // Sized for the window to open as wide and tall as OpeningTextArea asks,
  // in the font's characters, with room for the frame, the margins and a
  // scroll bar.
  const TextArea area = OpeningTextArea(view);
  const QFontMetrics metrics(text->font());
  const int chrome = 2 * (text->frameWidth() + static_cast<int>(text->document()->documentMargin())) +
                     text->verticalScrollBar()->sizeHint().width();
  // One character more: the text's advances are fractional, and the
  // cursor takes a pixel at the end of the widest line.
  text->setMinimumSize(metrics.horizontalAdvance(QString(area.Columns + 1, QLatin1Char('0'))) + chrome,
                       metrics.lineSpacing() * area.Rows + chrome);
  return text;
}

}  // namespace

QImage ToQImage(const formats::RgbImage& picture) {
  QImage image(picture.Width, picture.Height, QImage::Format_RGB888);
  const auto rowBytes = static_cast<std::size_t>(picture.Width) * sizeof(formats::Rgb);
  for (int y = 0; y < picture.Height; ++y) {
    std::memcpy(image.scanLine(y), picture.Pixels.data() + static_cast<std::size_t>(y) * picture.Width, rowBytes);
  }
  return image;
}

ViewerWindow::ViewerWindow(const FileView& view, QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(FromUtf8(view.Caption));
  auto* column = new QVBoxLayout(this);
  if (view.Kind == FileViewKind::Picture) {
    picture_ = ToQImage(view.Picture);
    column->addWidget(new PictureView(picture_, this));
    column->setSizeConstraint(QLayout::SetFixedSize);
  } else {
    text_ = NewTextView(view, this);
    text_->installEventFilter(this);
    column->addWidget(text_);
  }
  if (!view.Note.empty()) {
    note_ = new QLabel(FromUtf8(view.Note), this);
    note_->setWordWrap(true);
    column->addWidget(note_);
  }

  auto* copy = new QAction(this);
  copy->setShortcut(QKeySequence::Copy);
  connect(copy, &QAction::triggered, this, &ViewerWindow::CopyToClipboard);
  addAction(copy);
  auto* close = new QAction(this);
  close->setShortcut(Qt::Key_Escape);
  connect(close, &QAction::triggered, this, &QWidget::close);
  addAction(close);

  // Opened at the text's size, never larger than the screen (the text
  // scrolls instead); the user may make it smaller afterwards.
  adjustSize();
  if (text_ != nullptr) text_->setMinimumSize(0, 0);
  if (const QScreen* screen = mainWindow != nullptr ? mainWindow->screen() : QApplication::primaryScreen()) {
    resize(size().boundedTo(screen->availableGeometry().size() * 9 / 10));
  }
}

void ViewerWindow::CopyToClipboard() {
  QClipboard* clipboard = QApplication::clipboard();
  if (text_ == nullptr) {
    clipboard->setImage(picture_);
  } else if (text_->textCursor().hasSelection()) {
    text_->copy();
  } else {
    clipboard->setText(text_->toPlainText());
  }
}

// The text view would take Ctrl+C for itself and copy nothing without a
// selection; the window's copy decides instead.
bool ViewerWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == text_ && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    if (event->type() == QEvent::KeyPress) CopyToClipboard();
    event->accept();
    return event->type() == QEvent::KeyPress;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace vellonix::ui::qt
