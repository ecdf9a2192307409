#include "qt_ui_services.hpp"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTreeWidget>

#include "dialog_support.hpp"
#include "progbar.hpp"
#include "std_dialogs.hpp"
#include "viewer.hpp"

namespace vellonix::ui::qt {

namespace {

constexpr int kNameColumn = 1;  // the first sub-item

}  // namespace

void QtUiServices::Beep() { QApplication::beep(); }

MessageResult QtUiServices::ShowMessage(const std::string& text, MessageKind kind, MessageButtons buttons,
                                        ScreenPoint topLeft) {
  return ShowPlacedMessage(parts_.Window, text, kind, buttons, topLeft);
}

OpenFileResult QtUiServices::ShowOpenDialog(const OpenFileRequest& request) {
  return RunOpenDialog(parts_.Window, request);
}

SaveFileResult QtUiServices::ShowSaveDialog(const SaveFileRequest& request) {
  return RunSaveDialog(parts_.Window, request);
}

void QtUiServices::ShowError(const std::string& text) {
  QMessageBox box(QMessageBox::Critical, QString::fromUtf8(MessageCaption(MessageKind::Error)), FromUtf8(text),
                  QMessageBox::NoButton, parts_.Window);
  box.addButton(QString::fromUtf8(kOkButtonCaption), QMessageBox::AcceptRole);
  box.exec();
}

WindowRect QtUiServices::MainWindowRect() const {
  const QRect frame = parts_.Window->frameGeometry();
  return {frame.left(), frame.top(), frame.width(), frame.height()};
}

void QtUiServices::ClearRows() { parts_.ListView1->clear(); }

int QtUiServices::AppendRow() {
  parts_.ListView1->addTopLevelItem(new QTreeWidgetItem());
  return parts_.ListView1->topLevelItemCount() - 1;
}

void QtUiServices::InsertRow(int position) { parts_.ListView1->insertTopLevelItem(position, new QTreeWidgetItem()); }

void QtUiServices::RemoveRow(int position) { delete parts_.ListView1->takeTopLevelItem(position); }

void QtUiServices::SetRowCaption(int row, const std::string& text) {
  if (auto* item = parts_.ListView1->topLevelItem(row)) item->setText(0, FromUtf8(text));
}

void QtUiServices::SetSubItem(int row, int subItem, const std::string& text) {
  auto* item = parts_.ListView1->topLevelItem(row);
  if (item == nullptr || subItem < 0 || subItem >= kSubItems) return;
  item->setText(subItem + 1, FromUtf8(text));
}

void QtUiServices::SetRowIcon(int row, int icon) {
  if (auto* item = parts_.ListView1->topLevelItem(row)) item->setIcon(0, images_.Icon(icon));
}

void QtUiServices::SetSubItemIcon(int row, int icon) {
  if (auto* item = parts_.ListView1->topLevelItem(row)) item->setIcon(kNameColumn, images_.Icon(icon));
}

void QtUiServices::SelectFirstRow() {
  if (auto* first = parts_.ListView1->topLevelItem(0)) parts_.ListView1->setCurrentItem(first);
}

std::optional<int> QtUiServices::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = parts_.ListView1->selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  return parts_.ListView1->indexOfTopLevelItem(selected.front());
}

void QtUiServices::SetStatusPanel(int panel, const std::string& text) {
  if (panel < 0 || panel >= kStatusPanels) return;
  QLabel* label = parts_.Panels[static_cast<std::size_t>(panel)];
  label->setText(FromUtf8(text));
  label->setToolTip(label->text());  // the whole text where the panel cuts it
}

void QtUiServices::SetMenuEnabled(MenuItem item, bool enabled) {
  if (QAction* action = parts_.Actions[static_cast<std::size_t>(item)]) action->setEnabled(enabled);
}

void QtUiServices::SetCaption(const std::string& text) { parts_.Window->setWindowTitle(FromUtf8(text)); }

void QtUiServices::CloseMainWindow() { parts_.Window->close(); }

void QtUiServices::ShowProgress(const std::string& caption, int position) {
  if (form2_ != nullptr) form2_->ShowProgress(FromUtf8(caption), position);
}

void QtUiServices::HideProgress() {
  if (form2_ != nullptr) form2_->HideProgress();
}

void QtUiServices::ShowFileViewer(const FileView& view) {
  auto* viewer = new ViewerWindow(view, parts_.Window);
  viewer->show();
}

void QtUiServices::BringToFront() {
  QWidget* window = QApplication::activeModalWidget();
  if (window == nullptr) window = parts_.Window;
  if (window->isMinimized()) window->showNormal();
  window->raise();
  window->activateWindow();
}

}  // namespace vellonix::ui::qt
