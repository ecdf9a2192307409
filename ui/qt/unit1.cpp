#include "unit1.hpp"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTreeWidget>
#include <QHBoxLayout>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include "about.hpp"
#include "cold_start_hook.hpp"
#include "host_path.hpp"
#include "newdisk.hpp"
#include "options.hpp"
#include "progbar.hpp"
#include "rename.hpp"
#include "vellonix/ui/main_menu.hpp"

namespace vellonix::ui::qt {

MainWindow::MainWindow(InstanceLauncher& launcher) {
  parts_.Window = this;
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  BuildMenu();
  BuildListView();
  BuildStatusBar();
  ApplyMetrics();
  setAcceptDrops(true);

  services_ = std::make_unique<QtUiServices>(parts_);
  services_->SetDialogRunner(ModalDialog::About, [this] {
    ShowAboutBox(this);
    return DialogResult::Ok;
  });
  form_ = std::make_unique<TForm1>(*services_, launcher);
  ConnectListView();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateDialogs() {
  progressWindow_ = new TForm2(this);
  services_->SetProgressWindow(progressWindow_);
  newDiskDialog_ = new TOKBottomDlg1(form_->OKBottomDlg1(), this);
  services_->SetDialogRunner(ModalDialog::NewDiskImage, [this] { return newDiskDialog_->Execute(); });
  nameDialog_ = new TOKBottomDlg2(form_->OKBottomDlg2(), this);
  services_->SetDialogRunner(ModalDialog::NameDialog, [this] { return nameDialog_->Execute(); });
  optionsDialog_ = new TOKBottomDlg(form_->OKBottomDlg(), this);
  services_->SetDialogRunner(ModalDialog::Options, [this] { return optionsDialog_->Execute(); });
}

void MainWindow::BuildMenu() {
  QMenu* menus[4] = {};
  for (const MenuEntry& entry : MainMenuTable()) {
    const auto top = static_cast<std::size_t>(entry.Menu);
    QAction* action = nullptr;
    if (IsMenuBarCommand(entry.Menu)) {
      action = menuBar()->addAction(QString::fromUtf8(entry.Caption));
    } else {
      if (menus[top] == nullptr) menus[top] = menuBar()->addMenu(QString::fromUtf8(TopMenuCaption(entry.Menu)));
      if (entry.Caption == nullptr) {
        menus[top]->addSeparator();
        continue;
      }
      action = menus[top]->addAction(QString::fromUtf8(entry.Caption));
    }
    action->setShortcut(QKeySequence(QString::fromStdString(entry.Shortcut.Text()), QKeySequence::PortableText));
    action->setEnabled(entry.Enabled);
    action->setVisible(entry.Visible);
    parts_.Actions[static_cast<std::size_t>(entry.Item)] = action;
    if (const MenuCommand command = CommandOf(entry.Item)) {
      connect(action, &QAction::triggered, this, [this, command] { form_->RunCommand(command); });
    }
  }
}

void MainWindow::BuildListView() {
  auto* list = new QTreeWidget(this);
  list->setObjectName(QStringLiteral("ListView1"));
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setItemsExpandable(false);
  list->setAllColumnsShowFocus(true);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setIconSize(QSize(kImageListSize, kImageListSize));
  QStringList captions;
  for (const char* caption : kColumnCaptions) captions << QString::fromUtf8(caption);
  list->setHeaderLabels(captions);
  list->header()->setStretchLastSection(false);
  list->header()->setSectionsMovable(false);
  setCentralWidget(list);
  parts_.ListView1 = list;
}

void MainWindow::ConnectListView() {
  QTreeWidget* list = parts_.ListView1;
  connect(list, &QTreeWidget::itemSelectionChanged, this, [this] { form_->ListView1SelectItem(); });
  const auto view = [this] { form_->RunCommand(&TForm1::ViewFile1Click); };
  connect(list, &QTreeWidget::itemDoubleClicked, this, view);
  // Enter views the file, as a double click does; only while the list has
  // the focus.
  auto* enter = new QAction(list);
  enter->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
  enter->setShortcutContext(Qt::WidgetShortcut);
  connect(enter, &QAction::triggered, this, view);
  list->addAction(enter);
}

void MainWindow::BuildStatusBar() {
  auto* bar = new QStatusBar(this);
  bar->setObjectName(QStringLiteral("StatusBar1"));
  bar->setSizeGripEnabled(false);
  // The panels sit side by side with a narrow gap; the status bar's own
  // spacing between widgets is wider.
  auto* panels = new QWidget(bar);
  auto* row = new QHBoxLayout(panels);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(kPanelGap);
  for (std::size_t panel = 0; panel < kPanelWidths.size(); ++panel) {
    auto* label = new QLabel(panels);
    // A framed label keeps half an "x" clear on either side: margin enough.
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    row->addWidget(label);
    parts_.Panels[panel] = label;
  }
  bar->addWidget(panels, 1);
  setStatusBar(bar);
}

void MainWindow::ApplyMetrics() {
  metrics_ = MetricsFor(*parts_.ListView1, *parts_.Panels[0]);
  for (std::size_t column = 0; column < metrics_.Columns.size(); ++column) {
    parts_.ListView1->setColumnWidth(static_cast<int>(column), metrics_.Columns[column]);
  }
  // The last panel's width reaches to the window's edge.
  for (std::size_t panel = 0; panel < metrics_.Panels.size(); ++panel) {
    parts_.Panels[panel]->setFixedWidth(metrics_.Panels[panel]);
  }
  statusBar()->setFixedHeight(metrics_.StatusBarHeight);
  setFixedSize(metrics_.Client.Width, metrics_.Client.Height + menuBar()->sizeHint().height());
}

void MainWindow::HookColdStart(std::vector<std::string> arguments) {
  new ColdStartHook(
      [this, arguments = std::move(arguments)] { form_->RunCommand([&] { form_->ColdStart(arguments); }); }, this);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFilesOf(event->mimeData()->urls()).empty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  std::vector<std::string> files = LocalFilesOf(event->mimeData()->urls());
  if (files.empty()) return;
  event->acceptProposedAction();
  // Handled once the drop has ended, so that the file manager is not held
  // while the unsaved-changes prompt waits for the user.
  QMetaObject::invokeMethod(
      this, [this, files = std::move(files)] { form_->RunCommand([&] { form_->FilesDropped(files); }); },
      Qt::QueuedConnection);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  bool mayClose = false;
  form_->RunCommand([this, &mayClose] { mayClose = form_->FormClose(); });
  if (mayClose) {
    event->accept();
  } else {
    event->ignore();
  }
}

#ifdef Q_OS_WIN
bool MainWindow::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
  const auto* msg = static_cast<const MSG*>(message);
  if (eventType == "windows_generic_MSG" && msg->message == WM_WININICHANGE) {
    form_->SettingsChanged();
    *result = 0;
    return true;  // not passed on
  }
  return QMainWindow::nativeEvent(eventType, message, result);
}
#endif

}  // namespace vellonix::ui::qt
