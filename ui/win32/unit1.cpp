#include "unit1.hpp"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>

#include "about.hpp"
#include "host_text.hpp"
#include "main_menu.hpp"
#include "newdisk.hpp"
#include "options.hpp"
#include "progbar.hpp"
#include "rename.hpp"
#include "resource_ids.h"
#include "vellonix/ui/main_menu.hpp"
#include "window_class.hpp"

namespace vellonix::ui::win {

namespace {

constexpr wchar_t kWindowClass[] = L"TForm1";
constexpr UINT kColdStartMessage = WM_APP + 1;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

}  // namespace

MainWindow::MainWindow(InstanceLauncher& launcher) {
  RegisterFrameClass(kWindowClass, &MainWindow::Procedure);
  parts_.MainMenu1 = BuildMainMenu();
  accelerators_ = BuildAccelerators();
  CreateWindowExW(0, kWindowClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                  parts_.MainMenu1, GetModuleHandleW(nullptr), this);
  BuildListView();
  BuildStatusBar();
  ApplyMetrics(GetDpiForWindow(parts_.Window));
  DragAcceptFiles(parts_.Window, TRUE);

  services_ = std::make_unique<Win32UiServices>(parts_);
  services_->SetDialogRunner(ModalDialog::About, [this] {
    ShowAboutBox(parts_.Window);
    return DialogResult::Ok;
  });
  form_ = std::make_unique<TForm1>(*services_, launcher);
  // The progress window and the modal dialogs are made when first asked
  // for, so that the main window shows without waiting for windows it may
  // never need.
  services_->SetProgressWindow([this]() -> TForm2& { return Form2(); });
  services_->SetDialogRunner(ModalDialog::NewDiskImage, [this] { return RunDialog(newDiskDialog_); });
  services_->SetDialogRunner(ModalDialog::NameDialog, [this] { return RunDialog(nameDialog_); });
  services_->SetDialogRunner(ModalDialog::Options, [this] { return RunDialog(optionsDialog_); });
}

MainWindow::~MainWindow() {
  // WM_DESTROY takes the long-lived dialogs first.
  if (parts_.Window != nullptr) DestroyWindow(parts_.Window);
  if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
  if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

void MainWindow::CreateDialogs() {
  if (newDiskDialog_ != nullptr || parts_.Window == nullptr || form_ == nullptr) return;
  newDiskDialog_ = std::make_unique<TOKBottomDlg1>(form_->OKBottomDlg1(), parts_.Window);
  nameDialog_ = std::make_unique<TOKBottomDlg2>(form_->OKBottomDlg2(), parts_.Window);
  optionsDialog_ =
      std::make_unique<TOKBottomDlg>(form_->OKBottomDlg(), parts_.Window, Wide(integration::RunningProgramPath()));
}

TForm2& MainWindow::Form2() {
  if (progressWindow_ == nullptr) progressWindow_ = std::make_unique<TForm2>(parts_.Window);
  return *progressWindow_;
}

void MainWindow::BuildListView() {
  parts_.ListView1 = CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS, 0, 0,
      0, 0, parts_.Window, nullptr, GetModuleHandleW(nullptr), nullptr);
  const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES | LVS_EX_DOUBLEBUFFER;
  SendMessageW(parts_.ListView1, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  for (int column = 0; column < kListColumns; ++column) {
    std::wstring caption = Wide(kColumnCaptions[static_cast<std::size_t>(column)]);
    LVCOLUMNW entry{};
    entry.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    entry.pszText = caption.data();
    entry.cx = kColumnWidths[static_cast<std::size_t>(column)];
    entry.iSubItem = column;
    SendMessageW(parts_.ListView1, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&entry));
  }
}

void MainWindow::BuildStatusBar() {
  parts_.StatusBar1 = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parts_.Window,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
}

void MainWindow::ApplyMetrics(UINT dpi) {
  // Icons depend on the DPI alone; a settings change at the same DPI (a new
  // font) keeps the ones loaded.
  const bool newIcons = images_ == nullptr || dpi != dpi_;
  dpi_ = dpi;
  // The font and icons in use stay alive until the controls have the new ones.
  Font font = ProgramFont(dpi);
  std::unique_ptr<ImageList> images;
  if (newIcons) {
    images = std::make_unique<ImageList>(ListIconSize(dpi));
    SendMessageW(parts_.ListView1, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images->Get()));
  }
  for (HWND control : {parts_.ListView1, parts_.StatusBar1})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  font_ = std::move(font);
  if (newIcons) images_ = std::move(images);

  for (auto [icon, size, kind] :
       {std::tuple{&bigIcon_, SM_CXICON, ICON_BIG}, std::tuple{&smallIcon_, SM_CXSMICON, ICON_SMALL}}) {
    if (!newIcons) continue;
    HICON loaded = LoadIconAt(VELLONIX_ICON_PROGRAM, GetSystemMetricsForDpi(size, dpi));
    SendMessageW(parts_.Window, WM_SETICON, kind, reinterpret_cast<LPARAM>(loaded));
    if (*icon != nullptr) DestroyIcon(*icon);
    *icon = loaded;
  }

  // [horizontal border, vertical border, gap between panels]
  std::array<int, 3> borders{};
  SendMessageW(parts_.StatusBar1, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders.data()));
  statusFrame_ = {borders[2], borders[0], 2 * borders[1] + ForDpi(2, dpi)};
  metrics_ = MetricsFor(dpi, font_.Get(), images_->Size(), statusFrame_);

  for (int column = 0; column < kListColumns; ++column)
    SendMessageW(parts_.ListView1, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                 metrics_.Columns[static_cast<std::size_t>(column)]);
  SendMessageW(parts_.StatusBar1, SB_SETMINHEIGHT, static_cast<WPARAM>(metrics_.StatusBarHeight - 2 * borders[1]), 0);
  SendMessageW(parts_.StatusBar1, WM_SIZE, 0, 0);

  // The list keeps the base layout's height; the bar is as tall as it made itself.
  RECT bar{};
  GetWindowRect(parts_.StatusBar1, &bar);
  const int barHeight = std::max<int>(bar.bottom - bar.top, metrics_.StatusBarHeight);
  const SIZE client{metrics_.Client.Width, metrics_.Client.Height - metrics_.StatusBarHeight + barHeight};
  SIZE frameSize = FrameFor(parts_.Window, client, dpi);
  RECT at{};
  GetWindowRect(parts_.Window, &at);
  SetWindowPos(parts_.Window, nullptr, 0, 0, frameSize.cx, frameSize.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const SIZE sized = frameSize;
  // A menu bar that wrapped takes more height than the frame allowed for.
  RECT shown{};
  GetClientRect(parts_.Window, &shown);
  frameSize.cy += client.cy - shown.bottom;
  const Rect wanted = WithinWorkArea(parts_.Window, {at.left, at.top, frameSize.cx, frameSize.cy});
  // Moving a window costs a round trip to the display server: only when
  // the menu bar wrapped or the window would leave the work area.
  if (wanted.Left != at.left || wanted.Top != at.top || wanted.Width != sized.cx || wanted.Height != sized.cy)
    SetWindowPos(parts_.Window, nullptr, wanted.Left, wanted.Top, wanted.Width, wanted.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutChildren();
}

void MainWindow::LayoutChildren() {
  if (parts_.ListView1 == nullptr || parts_.StatusBar1 == nullptr) return;
  RECT client{};
  GetClientRect(parts_.Window, &client);
  const std::array<int, kStatusPanels> panels = PanelsWithin(metrics_, statusFrame_, client.right);
  std::array<int, kStatusPanels> edges{};
  int right = statusFrame_.InsetLeft - statusFrame_.PanelGap;
  for (std::size_t panel = 0; panel < edges.size(); ++panel)
    edges[panel] = right += statusFrame_.PanelGap + panels[panel];
  edges.back() = -1;  // the last panel reaches to the window's edge
  SendMessageW(parts_.StatusBar1, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  SendMessageW(parts_.StatusBar1, WM_SIZE, 0, 0);
  RECT bar{};
  GetWindowRect(parts_.StatusBar1, &bar);
  MoveWindow(parts_.ListView1, 0, 0, client.right, std::max(0L, client.bottom - (bar.bottom - bar.top)), TRUE);
}

void MainWindow::HookColdStart(std::vector<std::string> arguments) {
  coldStart_ = std::move(arguments);
  PostMessageW(parts_.Window, kColdStartMessage, 0, 0);
}

void MainWindow::RunColdStart() {
  // Unhooked first: a box that loading shows reactivates the program.
  if (!coldStart_) return;
  const std::vector<std::string> arguments = std::move(*coldStart_);
  coldStart_.reset();
  form_->RunCommand([&] { form_->ColdStart(arguments); });
}

bool MainWindow::TranslateShortcut(MSG& message) const {
  if (parts_.Window == nullptr) return false;
  if (message.hwnd != parts_.Window && !IsChild(parts_.Window, message.hwnd)) return false;
  return TranslateAcceleratorW(parts_.Window, accelerators_, &message) != 0;
}

void MainWindow::RunMenuCommand(UINT commandId) {
  const std::optional<MenuItem> item = MenuItemOf(commandId);
  if (!item) return;
  // A shortcut reaches a disabled item's command too: it does not run.
  if (GetMenuState(parts_.MainMenu1, commandId, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) return;
  if (const MenuCommand command = CommandOf(*item)) form_->RunCommand(command);
}

bool MainWindow::MayClose() {
  bool mayClose = false;
  form_->RunCommand([this, &mayClose] { mayClose = form_->FormClose(); });
  return mayClose;
}

void MainWindow::DropFiles(HDROP drop) {
  std::vector<std::string> files;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT index = 0; index < count; ++index) {
    std::wstring name(DragQueryFileW(drop, index, nullptr, 0) + 1, L'\0');
    name.resize(DragQueryFileW(drop, index, name.data(), static_cast<UINT>(name.size())));
    files.push_back(PathFromSystem(name));
  }
  DragFinish(drop);
  form_->RunCommand([&] { form_->FilesDropped(files); });
}

void MainWindow::ListNotify(const NMHDR& header) {
  switch (header.code) {
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) != 0 && ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) != 0) {
        form_->ListView1SelectItem();
      }
      break;
    }
    case NM_DBLCLK:
      // Not on the empty space below the rows.
      if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0) form_->RunCommand(&TForm1::ViewFile1Click);
      break;
    case NM_RETURN:
      form_->RunCommand(&TForm1::ViewFile1Click);
      break;
    default:
      break;
  }
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->parts_.Window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = parts_.Window;
  switch (message) {
    case WM_NOTIFY:
      if (form_ != nullptr && reinterpret_cast<const NMHDR*>(lParam)->hwndFrom == parts_.ListView1) {
        ListNotify(*reinterpret_cast<const NMHDR*>(lParam));
      }
      return 0;
    case WM_COMMAND:
      if (lParam == 0 && form_ != nullptr) RunMenuCommand(LOWORD(wParam));
      return 0;
    case WM_CLOSE:
      if (form_ != nullptr && MayClose()) DestroyWindow(window);
      return 0;
    case WM_QUERYENDSESSION:
      // Signing out or shutting down closes the window too: unsaved changes
      // are asked about first, and Cancel keeps the session.
      return form_ == nullptr || MayClose();
    case WM_DROPFILES:
      if (form_ != nullptr) {
        DropFiles(reinterpret_cast<HDROP>(wParam));
      } else {
        DragFinish(reinterpret_cast<HDROP>(wParam));
      }
      return 0;
    case WM_WININICHANGE:  // WM_SETTINGCHANGE: one message
      // A beep, and the notification is not passed on. The system's font
      // or the work area may have changed with it: the window is fitted
      // again, once it is no longer minimized.
      if (form_ != nullptr) form_->SettingsChanged();
      refitWhenRestored_ = IsIconic(window);
      if (!refitWhenRestored_) ApplyMetrics(dpi_);
      return 0;
    case WM_ACTIVATEAPP:
      if (wParam && coldStart_) PostMessageW(window, kColdStartMessage, 0, 0);
      break;
    case kColdStartMessage:
      RunColdStart();
      return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED && std::exchange(refitWhenRestored_, false)) {
        ApplyMetrics(dpi_);
      } else {
        LayoutChildren();
      }
      return 0;
    case WM_SETFOCUS:
      if (parts_.ListView1 != nullptr) SetFocus(parts_.ListView1);
      return 0;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyMetrics(HIWORD(wParam));
      return 0;
    }
    case WM_DESTROY:
      // The long-lived dialogs go first: Windows would take them with their owner.
      optionsDialog_.reset();
      nameDialog_.reset();
      newDiskDialog_.reset();
      if (services_ != nullptr) services_->SetProgressWindow(nullptr);
      progressWindow_.reset();
      if (quitWhenClosed_) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      parts_ = {};
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int RunMessageLoop(const MainWindow& window) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window.TranslateShortcut(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace vellonix::ui::win
