#include "vellonix/core/text.hpp"

#include <algorithm>

namespace vellonix::core {

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char ch : bytes) {
    const auto code = static_cast<unsigned char>(ch);
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return out;
}

std::optional<std::string> Utf8ToLatin1(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out.push_back(static_cast<char>(lead));
      continue;
    }
    // Only the two-byte forms of U+0080-U+00FF map to a byte.
    if ((lead != 0xC2 && lead != 0xC3) || i + 1 == text.size()) return std::nullopt;
    const auto trail = static_cast<unsigned char>(text[++i]);
    if ((trail & 0xC0) != 0x80) return std::nullopt;
    out.push_back(static_cast<char>(((lead & 0x03) << 6) | (trail & 0x3F)));
  }
  return out;
}

std::string Utf8ToLatin1Lossy(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    for (std::size_t k = 1; k < length; ++k) {
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) length = 1;
    }
    const auto single = Utf8ToLatin1(text.substr(i, length));
    out += single ? *single : std::string("?");
    i += length;
  }
  return out;
}

std::string UpToFirstZero(std::span<const unsigned char> bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), 0);
  return std::string(bytes.begin(), end);
}

std::string GroupedThousands(std::uintmax_t value) {
  std::string text = std::to_string(value);
  for (auto at = static_cast<std::ptrdiff_t>(text.size()) - 3; at > 0; at -= 3) {
    text.insert(static_cast<std::size_t>(at), 1, ',');
  }
  return text;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  return out;
}

bool IsPathSeparator(char c) {
#ifdef _WIN32
  if (c == ':') return true;
#endif
  return c == '/' || c == '\\';
}

std::string_view FileNamePart(std::string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsPathSeparator(path[i - 1])) return path.substr(i);
  }
  return path;
}

std::string_view FileExtension(std::string_view path) {
  const std::string_view name = FileNamePart(path);
  const auto dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

bool HasExtension(std::string_view path, std::string_view upperExtension) {
  return UpperAscii(FileExtension(path)) == upperExtension;
}

}  // namespace vellonix::core
