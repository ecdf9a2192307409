// The main window: the widgets of TForm1, the menu wired to its commands and
// the close request it may veto. The commands themselves live in TForm1.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>

#include "qt_ui_services.hpp"
#include "window_metrics.hpp"
#include "vellonix/ui/form1.hpp"

class QTreeWidget;

namespace vellonix::ui::qt {

class TForm2;
class TOKBottomDlg;
class TOKBottomDlg1;
class TOKBottomDlg2;

class MainWindow : public QMainWindow {
 public:
  // New instances of the program are started through `launcher`.
  explicit MainWindow(InstanceLauncher& launcher = HostInstanceLauncher());
  ~MainWindow() override;

  TForm1& Form1() { return *form_; }
  UiServices& Services() { return *services_; }
  const MainWindowParts& Parts() const { return parts_; }
  QAction* Action(MenuItem item) const { return parts_.Actions[static_cast<std::size_t>(item)]; }
  TForm2* Form2() const { return progressWindow_; }

  // The long-lived windows, created after the main window as at start-up.
  void CreateDialogs();
  // Opens the command line's images (the arguments after the program's
  // path) once the event loop runs; see ColdStartHook.
  void HookColdStart(std::vector<std::string> arguments);
  // The layout chosen for the font in use.
  const MainWindowMetrics& Metrics() const { return metrics_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Files dropped from the file manager; local files only.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
#ifdef Q_OS_WIN
  bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

 private:
  void BuildMenu();
  void BuildListView();
  // The list's selection, double click and Enter, once TForm1 exists.
  void ConnectListView();
  void BuildStatusBar();
  void ApplyMetrics();

  MainWindowParts parts_;
  MainWindowMetrics metrics_;
  std::unique_ptr<QtUiServices> services_;
  std::unique_ptr<TForm1> form_;
  TForm2* progressWindow_ = nullptr;
  TOKBottomDlg1* newDiskDialog_ = nullptr;
  TOKBottomDlg2* nameDialog_ = nullptr;
  TOKBottomDlg* optionsDialog_ = nullptr;
};

}  // namespace vellonix::ui::qt
