// Command lines for CreateProcessW, which takes one string: each argument
// written so that the C runtime's parser (and CommandLineToArgvW) gives it
// back unchanged.
#pragma once

#include <string>
#include <string_view>

namespace vellonix::win32 {

// Quoted when it holds blanks or quotes or is empty, with backslashes
// doubled where a quote follows them.
std::wstring QuotedArgument(std::wstring_view arg);

}  // namespace vellonix::win32
