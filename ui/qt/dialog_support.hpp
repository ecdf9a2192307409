// What the program's own dialogs share: text across the UTF-8 seam, the
// fixed dialog border, placement on the main window, the name boxes'
// character rule and the OK/Cancel pair.
#pragma once

#include <string>

#include <QString>

class QDialog;
class QObject;
class QPushButton;
class QSize;
class QValidator;
class QWidget;

namespace vellonix::ui::qt {

QString FromUtf8(const std::string& text);
std::string ToUtf8(const QString& text);

// A fixed-size dialog with a title bar and close box only.
void UseDialogBorder(QDialog& dialog, const QSize& clientSize);

// Moves `dialog` so that it stands centred on its parent window.
void CentreOnParent(QWidget& dialog);

// Accepts what a SAM name can store: one byte per character, no control codes.
QValidator* NewSamNameValidator(QObject* parent);

struct OkCancelButtons {
  QPushButton* Ok = nullptr;
  QPushButton* Cancel = nullptr;
};

// "&OK" (the default button, accepting) and "&Cancel" (rejecting, as Esc
// does), 75 × 25 each, at the given left edges and top.
OkCancelButtons AddOkCancelButtons(QDialog& dialog, int okLeft, int cancelLeft, int top);

}  // namespace vellonix::ui::qt
