#include "host_text.hpp"

#include <climits>
#include <utility>

#include "vellonix/win32/wide_text.hpp"

namespace vellonix::ui::win {

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty() || utf8.size() > INT_MAX) return {};
  const int size = static_cast<int>(utf8.size());
  std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::string Narrow(std::wstring_view wide) {
  if (wide.empty() || wide.size() > INT_MAX / 3) return {};
  const int size = static_cast<int>(wide.size());
  std::string utf8(
      static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
  return utf8;
}

std::string PathFromSystem(std::wstring_view path) {
  if (auto utf8 = ::vellonix::win32::Utf8FromWide(path)) return std::move(*utf8);
  std::wstring paired(path);
  for (std::size_t i = 0; i < paired.size(); ++i) {
    const bool high = IS_HIGH_SURROGATE(paired[i]);
    if (high && i + 1 < paired.size() && IS_LOW_SURROGATE(paired[i + 1])) {
      ++i;
    } else if (high || IS_LOW_SURROGATE(paired[i])) {
      paired[i] = L'?';
    }
  }
  return ::vellonix::win32::Utf8FromWide(paired).value_or("?");
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring WithoutMnemonic(std::wstring_view caption) {
  std::wstring shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    shown.push_back(caption[i]);
  }
  return shown;
}

}  // namespace vellonix::ui::win
