// What the program's own dialogs share. Each is a dialog window made from an
// empty in-memory template, so that Enter, Esc, Tab, the arrow keys in a
// radio group and the close box behave as in every Windows dialog; its
// controls are made in code at the places of the shared base layout,
// scaled by one factor so that every caption fits the system's font at the
// owner's DPI. A modal loop of its own lets a dialog live hidden for the
// whole run and be shown again.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vellonix/ui/ui_services.hpp"
#include "vellonix/ui/window_layout.hpp"
#include "window_metrics.hpp"

namespace vellonix::ui::win {

// What a control's text needs room for beside the text itself.
enum class ControlKind { Frame, Label, WrappedLabel, Button, Choice, GroupBox, Edit, Other };

struct DialogControl {
  HWND Handle = nullptr;
  Rect Place;  // in the base layout, relative to the dialog
  ControlKind Kind = ControlKind::Other;
  bool Bold = false;
};

// `place`, given inside `group`, relative to the dialog.
inline Rect Inside(const Rect& group, const Rect& place) {
  return {group.Left + place.Left, group.Top + place.Top, place.Width, place.Height};
}

// The smallest scale, not below the screen's, at which every control's text
// fits its place in `font`.
double FitDialogScale(const std::vector<DialogControl>& controls, HFONT font, HFONT boldFont, UINT dpi);

// Moves a window of `size` so that it stands centred on `owner`, inside the
// owner's monitor's work area.
void CentreOn(HWND window, HWND owner);

// An edit box that takes what a SAM name can store, one byte per
// character: typed and pasted characters beyond U+00FF are refused.
void AcceptSamNameOnly(HWND edit);

// The text of an edit box, for the logic.
std::string EditText(HWND edit);

class Dialog {
 public:
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog();

  HWND Handle() const { return window_; }
  const std::vector<DialogControl>& Controls() const { return controls_; }
  double Scale() const { return scale_; }

  // Laid out for the owner's DPI, centred on it and shown until OK or
  // Cancel, with the owner disabled meanwhile.
  DialogResult RunModal();

 protected:
  // A hidden dialog owned by `owner`, with a close box unless said.
  Dialog(HWND owner, Size client, std::string_view caption, bool closeBox = true);

  HWND Add(const wchar_t* windowClass, std::string_view text, DWORD style, int id, const Rect& place,
           ControlKind kind, DWORD exStyle = 0);
  // The "&OK" and "&Cancel" buttons, OK the default.
  void AddOkCancel(const Rect& ok, const Rect& cancel);
  void UseBoldFont(HWND control);
  // Places every control for a screen of `dpi` in the font for it.
  void Layout(UINT dpi);
  void Finish(DialogResult result) { result_ = result; }

  // The control that has the focus when the dialog shows.
  virtual HWND InitialFocus() = 0;
  // OK pressed: false keeps the dialog open.
  virtual bool OnOk() { return true; }
  virtual void OnCommand(int /*id*/, int /*code*/) {}
  virtual LRESULT OnNotify(const NMHDR& /*header*/) { return 0; }
  // After the controls have their places: what depends on the scale.
  virtual void OnLaidOut(UINT /*dpi*/) {}

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  Size client_;
  std::vector<DialogControl> controls_;
  Font font_;
  Font boldFont_;
  double scale_ = 1.0;
  std::optional<DialogResult> result_;
};

}  // namespace vellonix::ui::win
