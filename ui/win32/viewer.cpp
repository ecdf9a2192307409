#include "viewer.hpp"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <span>
#include <string>

#include "host_text.hpp"
#include "window_class.hpp"

namespace vellonix::ui::win {

namespace {

constexpr DWORD kTextStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kPictureStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kPictureWidth = 512;
constexpr int kPictureHeight = 384;
constexpr int kNoteMargin = 4;    // around the note, at 96 dpi
constexpr int kTextPointSize = 9;
constexpr WPARAM kCtrlC = 3;  // the character Ctrl+C types

// The desktop's fixed-width font for text, at `dpi`.
Font FixedFont(UINT dpi) {
  return Font(CreateFontW(-MulDiv(kTextPointSize, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                          FIXED_PITCH | FF_MODERN, L"Consolas"));
}

// Puts `bytes` on the clipboard as `format`, replacing what it held.
void PutOnClipboard(HWND owner, UINT format, std::span<const std::uint8_t> bytes) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size())) {
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    if (SetClipboardData(format, memory) == nullptr) GlobalFree(memory);
  }
  CloseClipboard();
}

}  // namespace

std::vector<std::uint8_t> PackedDib(const formats::RgbImage& picture) {
  const std::size_t rowBytes = (static_cast<std::size_t>(picture.Width) * 3 + 3) / 4 * 4;
  std::vector<std::uint8_t> dib(sizeof(BITMAPINFOHEADER) + rowBytes * static_cast<std::size_t>(picture.Height));
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = picture.Width;
  header.biHeight = picture.Height;  // bottom up
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(dib.size() - sizeof header);
  std::memcpy(dib.data(), &header, sizeof header);
  for (int y = 0; y < picture.Height; ++y) {
    std::uint8_t* row = dib.data() + sizeof header + rowBytes * static_cast<std::size_t>(picture.Height - 1 - y);
    for (int x = 0; x < picture.Width; ++x) {
      const formats::Rgb pixel = picture.At(x, y);
      *row++ = pixel.B;
      *row++ = pixel.G;
      *row++ = pixel.R;
    }
  }
  return dib;
}

ViewerWindow::ViewerWindow(const FileView& view)
    : noteText_(view.Note),
      pendingText_(view.Kind == FileViewKind::Picture ? std::wstring() : Wide(view.Text("\r\n"))),
      area_(OpeningTextArea(view)) {
  if (view.Kind == FileViewKind::Picture) dib_ = PackedDib(view.Picture);
}

HWND ViewerWindow::Open(const FileView& view, HWND mainWindow) {
  // Without its class no window would come to free the viewer.
  if (!RegisterFrameClass(kViewerClass, &ViewerWindow::Procedure)) return nullptr;
  auto* viewer = new ViewerWindow(view);
  const DWORD style = viewer->dib_.empty() ? kTextStyle : kPictureStyle;
  // Freed by its window from here on (WM_NCDESTROY), even when creation fails.
  const HWND window = CreateWindowExW(0, kViewerClass, Wide(view.Caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, mainWindow, nullptr, GetModuleHandleW(nullptr),
                                      viewer);
  if (window == nullptr) return nullptr;
  ShowWindow(window, SW_SHOWNORMAL);
  if (viewer->text_ != nullptr) SetFocus(viewer->text_);
  return window;
}

void ViewerWindow::Create() {
  if (!noteText_.empty()) {
    note_ = CreateWindowExW(0, L"STATIC", Wide(noteText_).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                            window_, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  if (dib_.empty()) {
    text_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                                ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_NOHIDESEL,
                            0, 0, 0, 0, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowSubclass(text_, &ViewerWindow::TextProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
  }
  ApplyDpi(GetDpiForWindow(window_));
  if (text_ != nullptr) {
    // Given once the edit has its font, so that it measures the lines in it.
    SendMessageW(text_, EM_SETLIMITTEXT, 0, 0);  // no limit but the system's
    SetWindowTextW(text_, pendingText_.c_str());
    pendingText_ = std::wstring();
  }
}

int ViewerWindow::NoteHeight(int width) const {
  if (note_ == nullptr) return 0;
  const TextMeasure measure(noteFont_.Get());
  return measure.WrappedHeight(WindowText(note_), std::max(1, width - 2 * ForDpi(kNoteMargin, dpi_))) +
         2 * ForDpi(kNoteMargin, dpi_);
}

void ViewerWindow::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  noteFont_ = ProgramFont(dpi);
  if (note_ != nullptr) SendMessageW(note_, WM_SETFONT, reinterpret_cast<WPARAM>(noteFont_.Get()), TRUE);

  SIZE client{};
  if (text_ == nullptr) {
    client = {ForDpi(kPictureWidth, dpi), ForDpi(kPictureHeight, dpi)};
  } else {
    Font font = FixedFont(dpi);
    SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    textFont_ = std::move(font);
    // As wide and tall as OpeningTextArea asks, in the font's characters,
    // with room for the edge, the margins and the scroll bars; one
    // character more for the caret at the end of the widest line.
    TEXTMETRICW metrics{};
    HDC dc = GetDC(text_);
    HGDIOBJ previous = SelectObject(dc, textFont_.Get());
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(text_, dc);
    const int edges = 2 * GetSystemMetricsForDpi(SM_CXEDGE, dpi) + ForDpi(8, dpi);
    client = {(area_.Columns + 1) * metrics.tmAveCharWidth + edges + GetSystemMetricsForDpi(SM_CXVSCROLL, dpi),
              area_.Rows * metrics.tmHeight + edges + GetSystemMetricsForDpi(SM_CYHSCROLL, dpi)};
  }
  client.cy += NoteHeight(client.cx);

  const SIZE frame = FrameFor(window_, client, dpi);
  RECT at{};
  GetWindowRect(window_, &at);
  const Rect wanted = WithinWorkArea(window_, {at.left, at.top, frame.cx, frame.cy});
  SetWindowPos(window_, nullptr, wanted.Left, wanted.Top, wanted.Width, wanted.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutChildren();
}

void ViewerWindow::LayoutChildren() {
  RECT client{};
  GetClientRect(window_, &client);
  const int noteHeight = NoteHeight(client.right);
  const int viewHeight = std::max(0, static_cast<int>(client.bottom) - noteHeight);
  if (text_ != nullptr) MoveWindow(text_, 0, 0, client.right, viewHeight, TRUE);
  if (note_ != nullptr) {
    const int margin = ForDpi(kNoteMargin, dpi_);
    MoveWindow(note_, margin, viewHeight + margin, std::max(0, static_cast<int>(client.right) - 2 * margin),
               std::max(0, noteHeight - 2 * margin), TRUE);
  }
}

void ViewerWindow::Paint(HDC dc) const {
  if (dib_.empty()) return;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(dib_.data());
  SetStretchBltMode(dc, COLORONCOLOR);  // each pixel a block, unsmoothed
  StretchDIBits(dc, 0, 0, ForDpi(kPictureWidth, dpi_), ForDpi(kPictureHeight, dpi_), 0, 0, info->bmiHeader.biWidth,
                info->bmiHeader.biHeight, dib_.data() + sizeof(BITMAPINFOHEADER), info, DIB_RGB_COLORS, SRCCOPY);
}

void ViewerWindow::CopyToClipboard() {
  if (text_ == nullptr) {
    PutOnClipboard(window_, CF_DIB, dib_);
    return;
  }
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(text_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  std::wstring text = WindowText(text_);
  if (start < end && end <= text.size()) text = text.substr(start, end - start);
  text.push_back(L'\0');
  PutOnClipboard(window_, CF_UNICODETEXT,
                 {reinterpret_cast<const std::uint8_t*>(text.data()), text.size() * sizeof(wchar_t)});
}

LRESULT CALLBACK ViewerWindow::TextProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR self) {
  auto* viewer = reinterpret_cast<ViewerWindow*>(self);
  switch (message) {
    case WM_COPY:  // what Ctrl+C in the edit sends it: the whole text when nothing is selected
      viewer->CopyToClipboard();
      return 0;
    case WM_CHAR:
      if (wParam == VK_ESCAPE) {
        PostMessageW(viewer->window_, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, &ViewerWindow::TextProcedure, 0);
      break;
    default:
      break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

LRESULT CALLBACK ViewerWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<ViewerWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<ViewerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    delete self;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->Handle(message, wParam, lParam);
}

LRESULT ViewerWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      Create();
      return 0;
    case WM_SIZE:
      LayoutChildren();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      Paint(BeginPaint(window_, &paint));
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETFOCUS:
      if (text_ != nullptr) SetFocus(text_);
      return 0;
    case WM_CHAR:  // the picture's window has the keys itself
      if (wParam == VK_ESCAPE) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        return 0;
      }
      if (wParam == kCtrlC) {
        CopyToClipboard();
        return 0;
      }
      break;
    case WM_COPY:
      CopyToClipboard();
      return 0;
    case WM_DPICHANGED:
      ApplyDpi(HIWORD(wParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace vellonix::ui::win
