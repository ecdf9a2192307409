#include "std_dialogs.hpp"

#include <algorithm>

#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

#include "dialog_support.hpp"
#include "host_path.hpp"

namespace vellonix::ui::qt {

namespace {

// ".mgt" as QFileDialog takes a default suffix: without its dot.
QString Suffix(const std::string& extension) {
  return FromUtf8(extension.starts_with('.') ? extension.substr(1) : extension);
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
  QStringList filters;
  for (const FilterEntry& entry : SplitFilter(filter)) {
    QString description = FromUtf8(entry.Description).trimmed();
    const QString patterns = FromUtf8(entry.Patterns).split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
    // "Disk images (*.mgt;*.sad)" already shows its patterns: put Qt's form there.
    static const QRegularExpression trailingGroup(QStringLiteral("\\s*\\([^()]*\\)$"));
    description.remove(trailingGroup);
    filters << QStringLiteral("%1 (%2)").arg(description, patterns);
  }
  return filters;
}

QString SuffixOfNameFilter(const QString& nameFilter) {
  static const QRegularExpression firstPattern(QStringLiteral("\\(\\*\\.([^ ()*?]+)[ )]"));
  const QRegularExpressionMatch match = firstPattern.match(nameFilter);
  return match.hasMatch() ? match.captured(1) : QString();
}

MessageResult ShowPlacedMessage(QWidget* parent, const std::string& text, MessageKind kind, MessageButtons buttons,
                                ScreenPoint topLeft, const std::string& detail) {
  QMessageBox box(parent);
  box.setWindowTitle(QString::fromUtf8(MessageCaption(kind)));
  box.setIcon(kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::Question);
  // Our texts lead with a line break of their own ("\rInvalid diskimage").
  box.setText(FromUtf8(text).remove(QLatin1Char('\r')).trimmed());
  // Plain text: a file name may hold anything, markup included.
  box.setTextFormat(Qt::PlainText);
  box.setInformativeText(FromUtf8(detail));
  // Qt keeps a box narrow; a path and its reason read better on few lines.
  if (auto* informative = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
    const QFontMetrics metrics = informative->fontMetrics();
    informative->setMinimumWidth(
        std::min(metrics.horizontalAdvance(box.informativeText()), 50 * metrics.averageCharWidth()));
  }

  QPushButton* ok = nullptr;
  QPushButton* yes = nullptr;
  QPushButton* no = nullptr;
  QPushButton* cancel = nullptr;
  if (buttons == MessageButtons::Ok) {
    ok = box.addButton(QString::fromUtf8(kOkButtonCaption), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
  } else {
    yes = box.addButton(QString::fromUtf8(kYesButtonCaption), QMessageBox::YesRole);
    no = box.addButton(QString::fromUtf8(kNoButtonCaption), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    // Closing the box is Cancel; a Yes/No box gets an unseen button for it,
    // or Qt would take the close as No.
    cancel = box.addButton(QString::fromUtf8(kCancelButtonCaption), QMessageBox::RejectRole);
    box.setEscapeButton(cancel);
    if (buttons == MessageButtons::YesNo) cancel->hide();
  }
  box.move(topLeft.X, topLeft.Y);
  box.exec();

  const auto* clicked = box.clickedButton();
  if (clicked != nullptr && clicked == ok) return MessageResult::Ok;
  if (clicked != nullptr && clicked == yes) return MessageResult::Yes;
  if (clicked != nullptr && clicked == no) return MessageResult::No;
  return MessageResult::Cancel;
}

OpenFileResult RunOpenDialog(QWidget* parent, const OpenFileRequest& request) {
  QFileDialog dialog(parent, FromUtf8(request.Title));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // Qt cannot see a proposed file whose name is no UTF-8 and would refuse
  // it as missing: then whether it exists is checked here, on its bytes.
  const bool proposalHidden = !request.FileName.empty() && HostPath(QtPath(request.FileName)) != request.FileName;
  const bool qtChecks = request.MustExist && !proposalHidden;
  dialog.setFileMode(request.MultiSelect ? QFileDialog::ExistingFiles
                                         : (qtChecks ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
  dialog.setNameFilters(QtNameFilters(request.Filter));
  dialog.setDefaultSuffix(Suffix(request.DefaultExtension));
  if (!request.FileName.empty()) dialog.selectFile(QtPath(request.FileName));
  while (dialog.exec() == QDialog::Accepted) {
    OpenFileResult result{true, {}};
    for (const QString& path : dialog.selectedFiles()) result.Paths.push_back(HostPathKeeping(path, request.FileName));
    const auto missing = std::find_if(result.Paths.begin(), result.Paths.end(),
                                      [](const std::string& path) { return !HostFileExists(path); });
    if (!request.MustExist || missing == result.Paths.end()) return result;
    QMessageBox::warning(&dialog, dialog.windowTitle(),
                         QStringLiteral("%1\nFile not found.\nPlease verify the correct file name was given.")
                             .arg(QtPath(*missing)));
  }
  return {};
}

SaveFileResult RunSaveDialog(QWidget* parent, const SaveFileRequest& request) {
  QFileDialog dialog(parent, FromUtf8(request.Title));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.OverwritePrompt);
  const QStringList filters = QtNameFilters(request.Filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const QString selected = filters.value(request.FilterIndex - 1, filters.front());
    dialog.selectNameFilter(selected);
    dialog.setDefaultSuffix(SuffixOfNameFilter(selected));
    // A name typed without an extension takes the one of the filter in view.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) { dialog.setDefaultSuffix(SuffixOfNameFilter(filter)); });
  } else {
    dialog.setDefaultSuffix(Suffix(request.DefaultExtension));
  }
  if (!request.FileName.empty()) dialog.selectFile(QtPath(request.FileName));

  while (dialog.exec() == QDialog::Accepted) {
    const QString path = dialog.selectedFiles().value(0);
    if (path.isEmpty()) break;
    const std::string target = HostPathKeeping(path, request.FileName);
    const QString shown = QFileInfo(path).fileName();
    const bool exists = HostFileExists(target);
    if (exists && !HostFileWritable(target)) {
      // A read-only file is refused in the dialog, before anything is written.
      QMessageBox::warning(&dialog, dialog.windowTitle(),
                           QStringLiteral("%1\nThis file is set to read-only.\nTry again with a different file name.")
                               .arg(shown));
      continue;
    }
    // Qt asked already about a file it could see; one whose name it cannot
    // hold is asked about here.
    const bool qtSawIt = HostPath(path) == target;
    if (request.OverwritePrompt && !qtSawIt && exists &&
        QMessageBox::question(&dialog, dialog.windowTitle(),
                              QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(shown)) !=
            QMessageBox::Yes) {
      continue;
    }
    return {true, target};
  }
  return {};
}

}  // namespace vellonix::ui::qt
