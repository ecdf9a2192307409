// Texts between the logic's UTF-8 and the W functions' UTF-16, for what the
// windows show and what the user types, and the paths the system hands
// over, which cross so that a name that does not convert is never taken
// for another file.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vellonix::ui::win {

// Invalid sequences become U+FFFD: a text shown is never lost whole.
std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// A path the system gave (a file dialog, a drop, the command line), as the
// logic takes paths. An unpaired surrogate, which no UTF-8 holds, comes as
// "?", which no Windows name holds: opening or saving the path then meets
// the system's refusal, shown with the path, and never reaches a file of a
// similar name or makes a second one.
std::string PathFromSystem(std::wstring_view path);

std::wstring WindowText(HWND window);

// A caption as the control draws it: "&OK" is "OK", "&&" a single "&".
std::wstring WithoutMnemonic(std::wstring_view caption);

}  // namespace vellonix::ui::win
