// Text at the Win32 edge. The program's strings are UTF-8 everywhere; the
// W functions of Win32 take and give UTF-16. Conversions are strict: a
// string that is not valid in its encoding (a cut UTF-8 sequence, a lone
// surrogate in a Windows file name) gives nullopt rather than a name that
// would silently stand for another file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vellonix::win32 {

std::optional<std::wstring> WideFromUtf8(std::string_view utf8);
std::optional<std::string> Utf8FromWide(std::wstring_view wide);

}  // namespace vellonix::win32
