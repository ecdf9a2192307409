// The main window: the controls of TForm1, the menu and its accelerators
// wired to its commands, drops, the settings-change beep (and the refit to
// a new system font), and the close request it may veto. The commands
// themselves live in TForm1.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "image_list.hpp"
#include "win32_ui_services.hpp"
#include "window_metrics.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::win {

class TForm2;
class TOKBottomDlg;
class TOKBottomDlg1;
class TOKBottomDlg2;

class MainWindow {
 public:
  // New instances of the program are started through `launcher`.
  explicit MainWindow(InstanceLauncher& launcher = HostInstanceLauncher());
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow();

  HWND Handle() const { return parts_.Window; }
  const MainWindowParts& Parts() const { return parts_; }
  TForm1& Form1() { return *form_; }
  UiServices& Services() { return *services_; }
  // The layout chosen for the font and DPI in use.
  const MainWindowMetrics& Metrics() const { return metrics_; }
  UINT Dpi() const { return dpi_; }

  // The modal dialogs, made once: when one is first run, or earlier by
  // this call. The progress window likewise, when first shown or asked for.
  void CreateDialogs();
  TForm2& Form2();
  TOKBottomDlg1* OKBottomDlg1() const { return newDiskDialog_.get(); }
  TOKBottomDlg2* OKBottomDlg2() const { return nameDialog_.get(); }
  TOKBottomDlg* OKBottomDlg() const { return optionsDialog_.get(); }

  // Opens the command line's images (the arguments after the program's
  // path) once the message loop runs: at the first activation, or at the
  // loop's first pass where none has come by then.
  void HookColdStart(std::vector<std::string> arguments);
  // The menu's shortcuts, for a message on its way to this window or the
  // list: true when it became a command.
  bool TranslateShortcut(MSG& message) const;
  // Ends the message loop when the window has closed.
  void QuitWhenClosed() { quitWhenClosed_ = true; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void BuildListView();
  void BuildStatusBar();
  // Font, icons, columns, panels and size for a screen of `dpi`.
  void ApplyMetrics(UINT dpi);
  void LayoutChildren();
  void RunMenuCommand(UINT commandId);
  // FormClose: true when the window may close.
  bool MayClose();
  void DropFiles(HDROP drop);
  void RunColdStart();
  template <typename Dialog>
  DialogResult RunDialog(const std::unique_ptr<Dialog>& dialog) {
    CreateDialogs();
    return dialog != nullptr ? dialog->Execute() : DialogResult::Cancel;
  }
  // The list's selection, double click and Enter: View File's state and
  // command.
  void ListNotify(const NMHDR& header);

  MainWindowParts parts_;
  HACCEL accelerators_ = nullptr;
  UINT dpi_ = kBaseDpi;
  Font font_;
  std::unique_ptr<ImageList> images_;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  MainWindowMetrics metrics_;
  StatusBarFrame statusFrame_;
  std::unique_ptr<Win32UiServices> services_;
  std::unique_ptr<TForm1> form_;
  std::unique_ptr<TForm2> progressWindow_;
  std::unique_ptr<TOKBottomDlg1> newDiskDialog_;
  std::unique_ptr<TOKBottomDlg2> nameDialog_;
  std::unique_ptr<TOKBottomDlg> optionsDialog_;
  std::optional<std::vector<std::string>> coldStart_;
  bool quitWhenClosed_ = false;
  bool refitWhenRestored_ = false;
};

// The program's message loop, until the main window has closed.
int RunMessageLoop(const MainWindow& window);

}  // namespace vellonix::ui::win
