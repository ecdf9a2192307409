#include "dialog_support.hpp"

#include <commctrl.h>

#include <algorithm>

#include "host_text.hpp"
#include "vellonix/ui/dialog_layouts.hpp"

namespace vellonix::ui::win {

namespace {

// A dialog template without controls, font or title: the window alone.
struct alignas(DWORD) EmptyDialogTemplate {
  DLGTEMPLATE Header;
  WORD Menu = 0;
  WORD WindowClass = 0;
  WORD Title = 0;
};

// The dialog manager would rescale a dialog on its own when it moves to a
// screen of another DPI; these dialogs lay themselves out again instead.
void KeepDpiChangesToOurselves(HWND dialog) {
  using SetBehavior = BOOL(WINAPI*)(HWND, int, int);
  constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
  static const auto set = reinterpret_cast<SetBehavior>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")));
  if (set != nullptr) set(dialog, kDisableAll, kDisableAll);
}

bool IsSamNameCharacter(wchar_t ch) { return ch >= 0x20 && ch <= 0xFF; }

std::wstring ClipboardText(HWND owner) {
  std::wstring text;
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

LRESULT CALLBACK SamNameEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, &SamNameEdit, id);
  if (message == WM_CHAR && wParam > 0xFF) {
    MessageBeep(0);
    return 0;
  }
  if (message == WM_PASTE) {
    std::wstring text = ClipboardText(edit);
    std::erase_if(text, [](wchar_t ch) { return !IsSamNameCharacter(ch); });
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    return 0;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

double FitDialogScale(const std::vector<DialogControl>& controls, HFONT font, HFONT boldFont, UINT dpi) {
  const TextMeasure plain(font);
  const TextMeasure bold(boldFont);
  const double floor = DpiScale(dpi);
  // A check box or radio button draws its text half a character past the
  // box, so that gap grows with the font.
  const int choiceBox = GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi) + ForDpi(3, dpi);
  const int editBorders = 2 * GetSystemMetricsForDpi(SM_CYEDGE, dpi) + ForDpi(2, dpi);
  std::vector<TextFit> fits;
  std::vector<WrappedTextFit> wrapped;
  for (const DialogControl& control : controls) {
    const TextMeasure& measure = control.Bold ? bold : plain;
    const std::wstring text = WithoutMnemonic(WindowText(control.Handle));
    const int width = measure.Width(text);
    const int line = measure.LineHeight();
    const Rect& place = control.Place;
    switch (control.Kind) {
      case ControlKind::Label:
        fits.insert(fits.end(), {{width, place.Width}, {line, place.Height}});
        break;
      case ControlKind::WrappedLabel:
        wrapped.push_back({[&measure, text](int at) { return measure.WrappedHeight(text, at); },
                           {place.Width, place.Height}});
        break;
      case ControlKind::Button:
        fits.insert(fits.end(), {{width + 2 * ForDpi(6, dpi), place.Width}, {line + ForDpi(6, dpi), place.Height}});
        break;
      case ControlKind::Choice:
        fits.insert(fits.end(), {{choiceBox + measure.Width(std::wstring_view(L"0")) / 2 + width, place.Width},
                                 {line, place.Height}});
        break;
      case ControlKind::GroupBox:
        fits.push_back({width + 2 * ForDpi(8, dpi), place.Width});
        break;
      case ControlKind::Edit:
        fits.push_back({line + editBorders, place.Height});
        break;
      case ControlKind::Frame:
      case ControlKind::Other:
        break;
    }
  }
  return DialogScale(fits, wrapped, floor);
}

void AcceptSamNameOnly(HWND edit) { SetWindowSubclass(edit, &SamNameEdit, 0, 0); }

std::string EditText(HWND edit) { return Narrow(WindowText(edit)); }

void CentreOn(HWND window, HWND owner) {
  RECT frame{};
  RECT ownerFrame{};
  GetWindowRect(window, &frame);
  GetWindowRect(owner, &ownerFrame);
  const Rect size = ToRect(frame);
  const Rect around = ToRect(ownerFrame);
  const Rect centred{around.Left + (around.Width - size.Width) / 2, around.Top + (around.Height - size.Height) / 2,
                     size.Width, size.Height};
  const Rect placed = WithinWorkArea(owner, centred);
  SetWindowPos(window, nullptr, placed.Left, placed.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Dialog::Dialog(HWND owner, Size client, std::string_view caption, bool closeBox) : client_(client) {
  EmptyDialogTemplate dialog{};
  dialog.Header.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_3DLOOK | (closeBox ? WS_SYSMENU : 0);
  window_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &dialog.Header, owner, &Dialog::Procedure,
                                       reinterpret_cast<LPARAM>(this));
  SetWindowTextW(window_, Wide(caption).c_str());
  KeepDpiChangesToOurselves(window_);
}

Dialog::~Dialog() {
  if (window_ == nullptr) return;
  SetWindowLongPtrW(window_, DWLP_USER, 0);  // what is left of this object takes no more messages
  DestroyWindow(window_);
}

HWND Dialog::Add(const wchar_t* windowClass, std::string_view text, DWORD style, int id, const Rect& place,
                 ControlKind kind, DWORD exStyle) {
  HWND control = CreateWindowExW(exStyle, windowClass, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                 window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                 nullptr);
  controls_.push_back({control, place, kind});
  return control;
}

void Dialog::AddOkCancel(const Rect& ok, const Rect& cancel) {
  Add(L"BUTTON", kOkCaption, WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, IDOK, ok, ControlKind::Button);
  Add(L"BUTTON", kCancelCaption, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, cancel, ControlKind::Button);
  SendMessageW(window_, DM_SETDEFID, IDOK, 0);
}

void Dialog::UseBoldFont(HWND control) {
  for (DialogControl& entry : controls_) {
    if (entry.Handle == control) entry.Bold = true;
  }
}

void Dialog::Layout(UINT dpi) {
  // The fonts in use stay alive until every control has the new ones.
  Font font = ProgramFont(dpi);
  Font boldFont = ProgramFont(dpi, /*bold=*/true);
  scale_ = FitDialogScale(controls_, font.Get(), boldFont.Get(), dpi);
  const Size client = Scaled(client_, scale_);
  RECT frame{0, 0, client.Width, client.Height};
  AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)), dpi);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const DialogControl& control : controls_) {
    const Rect place = Scaled(control.Place, scale_);
    MoveWindow(control.Handle, place.Left, place.Top, place.Width, place.Height, TRUE);
    SendMessageW(control.Handle, WM_SETFONT, reinterpret_cast<WPARAM>(control.Bold ? boldFont.Get() : font.Get()),
                 TRUE);
  }
  font_ = std::move(font);
  boldFont_ = std::move(boldFont);
  OnLaidOut(dpi);
}

DialogResult Dialog::RunModal() {
  HWND owner = GetWindow(window_, GW_OWNER);
  Layout(GetDpiForWindow(owner != nullptr ? owner : window_));
  if (owner != nullptr) CentreOn(window_, owner);
  result_.reset();
  if (owner != nullptr) EnableWindow(owner, FALSE);
  ShowWindow(window_, SW_SHOW);
  SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(InitialFocus()), TRUE);
  MSG message;
  while (!result_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: the quit goes on to the loop outside.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      result_ = DialogResult::Cancel;
      break;
    }
    if (!IsDialogMessageW(window_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  // The owner is enabled before the dialog hides, so that it gets the
  // activation back rather than another program.
  if (owner != nullptr) EnableWindow(owner, TRUE);
  ShowWindow(window_, SW_HIDE);
  return *result_;
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    return FALSE;  // the focus is set when the dialog shows
  }
  auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (dialog == nullptr || dialog->window_ == nullptr) return FALSE;
  return dialog->Handle(message, wParam, lParam);
}

INT_PTR Dialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDOK) {
        if (OnOk()) Finish(DialogResult::Ok);
      } else if (id == IDCANCEL) {
        Finish(DialogResult::Cancel);
      } else {
        OnCommand(id, HIWORD(wParam));
      }
      return TRUE;
    }
    case WM_CLOSE:
      // The close box: Cancel. A window without one takes no close at all.
      if (GetWindowLongPtrW(window_, GWL_STYLE) & WS_SYSMENU) Finish(DialogResult::Cancel);
      return TRUE;
    case WM_NOTIFY:
      SetWindowLongPtrW(window_, DWLP_MSGRESULT, OnNotify(*reinterpret_cast<const NMHDR*>(lParam)));
      return TRUE;
    case WM_SETTINGCHANGE:
      // A new system font while the dialog is up: fitted to it at once.
      if (IsWindowVisible(window_)) Layout(GetDpiForWindow(window_));
      return FALSE;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      Layout(HIWORD(wParam));
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace vellonix::ui::win
