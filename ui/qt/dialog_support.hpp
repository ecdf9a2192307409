// What the program's own dialogs share: text across the UTF-8 seam, the
// fixed dialog border, placement on the main window, the name boxes'
// character rule and the OK/Cancel pair.
#pragma once

#include <string>

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

// A fixed-size dialog with a title bar and close box only.
void UseDialogBorder(QDialog& dialog, const Size& clientSize);

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
OkCancelButtons AddOkCancelButtons(QDialog& dialog, const Rect& ok, const Rect& cancel);

}  // namespace vellonix::ui::qt
