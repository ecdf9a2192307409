// Texts between the logic's UTF-8 and the W functions' UTF-16, for what the
// windows show and what the user types. Paths do not pass here: they cross
// strictly, through vellonix::win32's conversions, so that a name that does
// not convert is never taken for another file.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vellonix::ui::win {

// Invalid sequences become U+FFFD: a text shown is never lost whole.
std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

std::wstring WindowText(HWND window);

// A caption as the control draws it: "&OK" is "OK", "&&" a single "&".
std::wstring WithoutMnemonic(std::wstring_view caption);

}  // namespace vellonix::ui::win
