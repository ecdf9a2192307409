#include "terminal_text.hpp"

#include "vellonix/core/text.hpp"

namespace vellonix::cli {

namespace {

bool IsControl(unsigned char code) { return code < 0x20 || code == 0x7F || (code >= 0x80 && code <= 0x9F); }

}  // namespace

TerminalText ForTerminal(std::string_view samBytes) {
  constexpr std::string_view kHex = "0123456789abcdef";
  TerminalText out;
  out.Utf8.reserve(samBytes.size() * 2);
  for (const char ch : samBytes) {
    const auto code = static_cast<unsigned char>(ch);
    if (IsControl(code)) {
      out.Utf8 += "\\x";
      out.Utf8 += kHex[code >> 4];
      out.Utf8 += kHex[code & 0x0F];
      out.Width += 4;
    } else if (ch == '\\') {
      out.Utf8 += "\\\\";
      out.Width += 2;
    } else {
      out.Utf8 += core::Latin1ToUtf8(std::string_view(&ch, 1));
      out.Width += 1;
    }
  }
  return out;
}

}  // namespace vellonix::cli
