// The main window: the widgets of TForm1, the menu wired to its commands and
// the close request it may veto. The commands themselves live in TForm1.
#pragma once

#include <memory>

#include <QMainWindow>

#include "qt_ui_services.hpp"
#include "vellonix/ui/form1.hpp"

class QTreeWidget;

namespace vellonix::ui::qt {

class TForm2;
class TOKBottomDlg1;
class TOKBottomDlg2;

inline constexpr int kClientWidth = 538;
inline constexpr int kClientHeight = 319;
inline constexpr int kStatusBarHeight = 20;
inline constexpr std::array<int, 6> kColumnWidths{40, 112, 46, 80, 128, 112};
inline constexpr std::array<int, kStatusPanels> kPanelWidths{120, 192, 56, 98, 65};

class MainWindow : public QMainWindow {
 public:
  MainWindow();
  ~MainWindow() override;

  TForm1& Form1() { return *form_; }
  UiServices& Services() { return *services_; }
  const MainWindowParts& Parts() const { return parts_; }
  QAction* Action(MenuItem item) const { return parts_.Actions[static_cast<std::size_t>(item)]; }
  TForm2* Form2() const { return progressWindow_; }

  // The long-lived windows, created after the main window as at start-up.
  void CreateDialogs();

 protected:
  void closeEvent(QCloseEvent* event) override;
#ifdef Q_OS_WIN
  bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

 private:
  void BuildMenu();
  void BuildListView();
  void BuildStatusBar();

  MainWindowParts parts_;
  std::unique_ptr<QtUiServices> services_;
  std::unique_ptr<TForm1> form_;
  TForm2* progressWindow_ = nullptr;
  TOKBottomDlg1* newDiskDialog_ = nullptr;
  TOKBottomDlg2* nameDialog_ = nullptr;
};

}  // namespace vellonix::ui::qt
