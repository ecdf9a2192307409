// View File's window on Windows: modeless, one per file viewed, owned by
// the main window. A listing or a dump stands in a read-only multiline edit
// in a fixed-width font, a picture is painted from a DIB, each of its 512 x
// 384 pixels a block of the screen's at the window's DPI; a note, when the
// view has one, below it. Ctrl+C copies the text (the selected part, when
// there is one) as CF_UNICODETEXT or the picture as CF_DIB; Esc closes the
// window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "vellonix/ui/file_viewer.hpp"
#include "window_metrics.hpp"

namespace vellonix::ui::win {

// The window class, by which tests find the viewers.
inline constexpr wchar_t kViewerClass[] = L"TViewForm";

// The picture as a packed DIB: its BITMAPINFOHEADER, then 24-bit rows from
// the bottom up, each padded to four bytes. What CF_DIB holds and what the
// window paints.
std::vector<std::uint8_t> PackedDib(const formats::RgbImage& picture);

class ViewerWindow {
 public:
  // Opens and shows a viewer on `view`; the window frees itself when it is
  // closed, or when the main window goes.
  static HWND Open(const FileView& view, HWND mainWindow);

  ViewerWindow(const ViewerWindow&) = delete;
  ViewerWindow& operator=(const ViewerWindow&) = delete;

 private:
  explicit ViewerWindow(const FileView& view);
  ~ViewerWindow() = default;

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK TextProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  // The controls, once the window exists.
  void Create();
  // Fonts and the window's size for a screen of `dpi`.
  void ApplyDpi(UINT dpi);
  void LayoutChildren();
  void Paint(HDC dc) const;
  void CopyToClipboard();
  int NoteHeight(int width) const;

  HWND window_ = nullptr;
  HWND text_ = nullptr;
  HWND note_ = nullptr;
  std::string noteText_;
  std::wstring pendingText_;  // the text's, until the edit holds it
  TextArea area_;
  std::vector<std::uint8_t> dib_;  // the picture's; empty for a text
  UINT dpi_ = kBaseDpi;
  Font textFont_;
  Font noteFont_;
};

}  // namespace vellonix::ui::win
