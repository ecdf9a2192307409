// Plays the user inside modal windows: a timer on the test's thread looks
// for the next window a command brings up (a dialog, a message box, a file
// dialog: an enabled top-level window with an owner) and runs the next act
// on it. The act should close it, or post what closes it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>

namespace vellonix::ui::win::testing {

using ModalAct = std::function<void(HWND)>;

class ModalScript {
 public:
  explicit ModalScript(std::deque<ModalAct> acts) : acts_(std::move(acts)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 10, &ModalScript::Tick);
  }
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;
  ~ModalScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
    EXPECT_TRUE(acts_.empty()) << acts_.size() << " modal window(s) never came";
  }
  int Ran() const { return ran_; }

  // The window of this thread that a modal act is for, if one is up.
  static HWND FindModal() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
          const bool owned = GetWindow(window, GW_OWNER) != nullptr;
          if (!owned || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
          *reinterpret_cast<HWND*>(result) = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
  }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* script = current_;
    if (script == nullptr || script->acts_.empty()) return;
    HWND modal = FindModal();
    // A window an act has posted its answer to stays up a moment longer.
    if (modal == nullptr || modal == script->handled_) return;
    script->handled_ = modal;
    ModalAct act = std::move(script->acts_.front());
    script->acts_.pop_front();
    ++script->ran_;
    act(modal);  // may run a nested loop in which the next act comes
  }

  static inline thread_local ModalScript* current_ = nullptr;
  std::deque<ModalAct> acts_;
  UINT_PTR timer_ = 0;
  HWND handled_ = nullptr;
  int ran_ = 0;
};

// What tests do inside those windows.
inline std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}
inline void Press(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
inline void PressKey(HWND target, WPARAM key) {
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}
// A message box's own text (without the line breaks our texts lead with),
// and its detail: the paragraph below it, if any.
inline std::wstring MessageText(HWND box) {
  std::wstring text = TextOf(GetDlgItem(box, 0xFFFF));
  text = text.substr(0, text.find(L"\n\n", text.find_first_not_of(L"\r\n")));
  std::erase_if(text, [](wchar_t ch) { return ch == L'\r' || ch == L'\n'; });
  return text;
}
inline std::wstring MessageDetail(HWND box) {
  const std::wstring text = TextOf(GetDlgItem(box, 0xFFFF));
  const std::size_t gap = text.find(L"\n\n", text.find_first_not_of(L"\r\n"));
  return gap == std::wstring::npos ? std::wstring() : text.substr(gap + 2);
}

}  // namespace vellonix::ui::win::testing
