// SAM text is kept as raw bytes; these helpers turn it into host text for
// display and pick apart host paths by the program's own rules.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vellonix::core {

// Each byte becomes the character with the same code point, as UTF-8.
std::string Latin1ToUtf8(std::string_view bytes);

// The reverse, for names the user types: nullopt when the text is not valid
// UTF-8 or holds a character above U+00FF, which no SAM byte stands for.
std::optional<std::string> Utf8ToLatin1(std::string_view text);
// The same for text that must be stored whatever it holds: each character
// without a byte, and each malformed sequence, becomes '?'.
std::string Utf8ToLatin1Lossy(std::string_view text);

// A byte that stands for no character to show: the C0 codes, DEL and the
// C1 codes 0x80-0x9F, as Latin-1 reads them.
constexpr bool IsControlCode(unsigned char code) {
  return code < 0x20 || code == 0x7F || (code >= 0x80 && code <= 0x9F);
}

// Bytes as a string, up to (not including) the first zero byte.
std::string UpToFirstZero(std::span<const unsigned char> bytes);

// A count as people write it: 819,200.
std::string GroupedThousands(std::uintmax_t value);

// ASCII upper case; other bytes unchanged.
std::string UpperAscii(std::string_view text);

// Path separators of the host: '/' and '\' everywhere, ':' on Windows too.
bool IsPathSeparator(char c);

// The text after the last path separator.
std::string_view FileNamePart(std::string_view path);

// The extension of the file-name part, from its last '.', dot included;
// empty when it has none.
std::string_view FileExtension(std::string_view path);

// Whether the path's extension, upper-cased, is `upperExtension` (".MGT").
bool HasExtension(std::string_view path, std::string_view upperExtension);

}  // namespace vellonix::core
