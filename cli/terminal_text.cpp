#include "terminal_text.hpp"

#include <algorithm>

#include "vellonix/core/text.hpp"

namespace vellonix::cli {

namespace {

constexpr std::string_view kHex = "0123456789abcdef";

void AppendEscape(std::string& out, unsigned char code) {
  out += "\\x";
  out += kHex[code >> 4];
  out += kHex[code & 0x0F];
}

// Length of the well-formed UTF-8 sequence at text[at], or 0.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  unsigned point = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, point = lead & 0x1Fu;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, point = lead & 0x0Fu;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, point = lead & 0x07u;
  else return 0;
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return 0;
    point = point << 6 | (next & 0x3Fu);
  }
  const bool overlong = (length == 3 && point < 0x800) || (length == 4 && point < 0x10000);
  const bool invalid = point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF);
  return overlong || invalid ? 0 : length;
}

}  // namespace

std::string HostTextForTerminal(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto code = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = Utf8SequenceLength(utf8, i);
    const bool c1 = length == 2 && code == 0xC2 && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
    if (length == 0 || c1 || core::IsControlCode(code)) {
      const std::size_t escaped = std::max<std::size_t>(length, 1);
      for (std::size_t k = 0; k < escaped; ++k) AppendEscape(out, static_cast<unsigned char>(utf8[i + k]));
      i += escaped;
    } else {
      out.append(utf8, i, length);
      i += length;
    }
  }
  return out;
}

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

TerminalText ForTerminal(std::string_view samBytes) {
  TerminalText out;
  out.Utf8.reserve(samBytes.size() * 2);
  for (const char ch : samBytes) {
    const auto code = static_cast<unsigned char>(ch);
    if (core::IsControlCode(code)) {
      AppendEscape(out.Utf8, code);
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
