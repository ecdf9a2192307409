// The program's font and the main window's metrics on Windows: the system's
// message font at the window's DPI, and the shared base layout scaled so
// that the widest texts of every column and panel fit in that font. The base
// layout is in pixels of a 96-dpi screen, so the screen's scale is the
// least the layout gets.
#pragma once

#include <windows.h>

#include <string_view>
#include <utility>

#include "vellonix/ui/window_metrics.hpp"

namespace vellonix::ui::win {

inline constexpr UINT kBaseDpi = USER_DEFAULT_SCREEN_DPI;

Rect ToRect(const RECT& rect);

// `frame` moved, and shrunk where it must, into the work area of the
// monitor `window` is on (its nearest).
Rect WithinWorkArea(HWND window, const Rect& frame);

// The frame size `window` needs around a client area of `client` at
// `dpi`, by its styles, with its menu bar (one line) when it has one.
SIZE FrameFor(HWND window, SIZE client, UINT dpi);

// A length given for a 96-dpi screen, on a screen of `dpi`.
int ForDpi(int pixels, UINT dpi);
inline double DpiScale(UINT dpi) { return static_cast<double>(dpi) / kBaseDpi; }

// An HFONT, deleted with the object.
class Font {
 public:
  Font() = default;
  explicit Font(HFONT font) : font_(font) {}
  Font(Font&& other) noexcept : font_(std::exchange(other.font_, nullptr)) {}
  Font& operator=(Font&& other) noexcept {
    std::swap(font_, other.font_);
    return *this;
  }
  ~Font() {
    if (font_ != nullptr) DeleteObject(font_);
  }
  HFONT Get() const { return font_; }

 private:
  HFONT font_ = nullptr;
};

// The font of the system's message boxes and dialogs, at `dpi`.
Font ProgramFont(UINT dpi, bool bold = false);

// Measures texts in a font as the screen draws them.
class TextMeasure {
 public:
  explicit TextMeasure(HFONT font);
  TextMeasure(const TextMeasure&) = delete;
  TextMeasure& operator=(const TextMeasure&) = delete;
  ~TextMeasure();

  int Width(std::wstring_view text) const;
  int Width(std::string_view utf8) const;
  // A line's height, leading included.
  int LineHeight() const { return metrics_.tmHeight + metrics_.tmExternalLeading; }
  // The height `text` takes when wrapped at `width` pixels.
  int WrappedHeight(std::wstring_view text, int width) const;

 private:
  HDC dc_;
  HGDIOBJ previous_;
  TEXTMETRICW metrics_{};
};

// What a cell of the list needs beside its text (on either side, at 96
// dpi), and the gap after an icon.
inline constexpr int kCellPadding = 6;
inline constexpr int kIconGap = 2;
// What a header caption needs beside its text, on either side.
inline constexpr int kHeaderPadding = 8;
// A status panel's border and text indent, on either side.
inline constexpr int kPanelPadding = 4;

// The main window's metrics at `dpi` for texts in `font`, with icons of
// `iconSize` pixels in the list, for a status bar that places its panels
// as `frame` says.
MainWindowMetrics MetricsFor(UINT dpi, HFONT font, int iconSize, const StatusBarFrame& frame);

}  // namespace vellonix::ui::win
