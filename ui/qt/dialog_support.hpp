// What the program's own dialogs share: text across the UTF-8 seam, the
// fixed dialog border, placement on the main window, the name boxes'
// character rule and the OK/Cancel pair.
#pragma once

#include <string>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include "vellonix/ui/window_layout.hpp"

class QDialog;
class QObject;
class QPushButton;
class QValidator;
class QWidget;

namespace vellonix::ui::qt {

QString FromUtf8(const std::string& text);
std::string ToUtf8(const QString& text);

inline QRect ToQt(const Rect& rect) { return {rect.Left, rect.Top, rect.Width, rect.Height}; }

// A dialog with a title bar and close box only; its FittedLayout fixes its size.
void UseDialogBorder(QDialog& dialog);

// A dialog's base layout fitted to the font in use: every placed widget
// stands at its base place scaled by the one factor (not below 1) at which
// each one's text fits, word-wrapped texts included; fitted again whenever
// the dialog's font changes.
class FittedLayout : public QObject {
 public:
  FittedLayout(QDialog& dialog, const Size& client);

  // `widget` stands at `base`, relative to its parent; returns it.
  template <typename Widget>
  Widget* Place(Widget* widget, const Rect& base) {
    placed_.push_back({widget, base});
    return widget;
  }
  // Measures and places everything.
  void Fit();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Placed {
    QPointer<QWidget> Widget;
    Rect Base;
  };
  QDialog& dialog_;
  Size client_;
  std::vector<Placed> placed_;
};

// Moves `dialog` so that it stands centred on its parent window.
void CentreOnParent(QWidget& dialog);

// Accepts what a SAM name can store: one byte per character, no control codes.
QValidator* NewSamNameValidator(QObject* parent);

struct OkCancelButtons {
  QPushButton* Ok = nullptr;
  QPushButton* Cancel = nullptr;
};

// "&OK" (the default button, accepting) and "&Cancel" (rejecting, as Esc
// does), where the layout puts them.
OkCancelButtons AddOkCancelButtons(QDialog& dialog, FittedLayout& layout, const Rect& ok, const Rect& cancel);

}  // namespace vellonix::ui::qt
