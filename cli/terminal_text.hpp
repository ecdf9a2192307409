// SAM bytes made safe to print: a damaged image must not be able to drive
// the terminal, and columns must line up by characters, not bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vellonix::cli {

struct TerminalText {
  std::string Utf8;        // what to print
  std::size_t Width = 0;   // in characters
};

// Each byte is shown as the Latin-1 character with its code, except the
// control codes (below 0x20, 0x7F, 0x80-0x9F), which are shown as \xNN,
// and the backslash, shown as \\ so that an escape cannot be forged.
TerminalText ForTerminal(std::string_view samBytes);

// Host text (a path) made as safe: UTF-8 kept, but control codes (C0, DEL,
// C1) and bytes that are no UTF-8 shown as \xNN, so that a name cannot
// break a line or a tab-separated column. Backslashes stay: Windows paths
// are full of them.
std::string HostTextForTerminal(std::string_view utf8);

// Whether `text` is well-formed UTF-8 throughout.
bool IsUtf8(std::string_view text);

}  // namespace vellonix::cli
