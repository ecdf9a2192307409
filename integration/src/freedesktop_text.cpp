#include "freedesktop_text.hpp"

#include <algorithm>
#include <cstddef>

namespace vellonix::integration::freedesktop {

namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool IsGroupHeader(std::string_view line) { return Trim(line).starts_with('['); }

bool IsGroup(std::string_view line, std::string_view group) {
  const std::string_view trimmed = Trim(line);
  return trimmed.size() == group.size() + 2 && trimmed.front() == '[' && trimmed.back() == ']' &&
         trimmed.substr(1, group.size()) == group;
}

// The value when `line` is an entry for `key`.
std::optional<std::string_view> EntryValue(std::string_view line, std::string_view key) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.starts_with('#')) return std::nullopt;
  const auto equals = trimmed.find('=');
  if (equals == std::string_view::npos || Trim(trimmed.substr(0, equals)) != key) return std::nullopt;
  return Trim(trimmed.substr(equals + 1));
}

// Lines [first, last) of the group's entries; first == last == npos when
// there is no such group.
struct GroupRange {
  std::size_t First = std::string_view::npos;
  std::size_t Last = std::string_view::npos;
};

GroupRange FindGroup(const std::vector<std::string_view>& lines, std::string_view group) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!IsGroup(lines[i], group)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !IsGroupHeader(lines[end])) ++end;
    return {i + 1, end};
  }
  return {};
}

}  // namespace

std::optional<std::string> KeyValue(std::string_view text, std::string_view group, std::string_view key) {
  const std::vector<std::string_view> lines = Lines(text);
  const GroupRange range = FindGroup(lines, group);
  if (range.First == std::string_view::npos) return std::nullopt;
  for (std::size_t i = range.First; i < range.Last; ++i) {
    if (const auto value = EntryValue(lines[i], key)) return std::string(*value);
  }
  return std::nullopt;
}

std::string WithKeyValue(std::string_view text, std::string_view group, std::string_view key,
                         std::optional<std::string_view> value) {
  std::vector<std::string> lines;
  for (const std::string_view line : Lines(text)) lines.emplace_back(line);
  const std::string entry = value ? std::string(key) + '=' + std::string(*value) : std::string();

  std::vector<std::string_view> views(lines.begin(), lines.end());
  const GroupRange range = FindGroup(views, group);
  if (range.First == std::string_view::npos) {
    if (value) {
      if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
      lines.push_back('[' + std::string(group) + ']');
      lines.push_back(entry);
    }
  } else {
    std::size_t found = range.Last;
    for (std::size_t i = range.First; i < range.Last && found == range.Last; ++i) {
      if (EntryValue(views[i], key)) found = i;
    }
    const auto at = static_cast<std::ptrdiff_t>(found);
    if (found < range.Last) {
      if (value) {
        // The key and its spacing stay as written.
        const std::string_view line = views[found];
        const auto start = line.find_first_not_of(" \t", line.find('=') + 1);
        lines[found] = std::string(line.substr(0, std::min(start, line.size()))) + std::string(*value);
      } else {
        lines.erase(lines.begin() + at);
      }
    } else if (value) {
      std::size_t after = range.Last;
      while (after > range.First && Trim(views[after - 1]).empty()) --after;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after), entry);
    }
  }

  std::string out;
  for (const std::string& line : lines) out += line + '\n';
  return out;
}

std::string WithoutEmptyGroup(std::string_view text, std::string_view group) {
  const std::vector<std::string_view> lines = Lines(text);
  const GroupRange range = FindGroup(lines, group);
  if (range.First == std::string_view::npos) return std::string(text);
  for (std::size_t i = range.First; i < range.Last; ++i) {
    if (!Trim(lines[i]).empty()) return std::string(text);
  }
  std::size_t first = range.First - 1;  // the header
  // Last in the file: the blank line before it separated it from the rest.
  if (range.Last == lines.size() && first > 0 && Trim(lines[first - 1]).empty()) --first;
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i < first || i >= range.Last) out += std::string(lines[i]) + '\n';
  }
  return out;
}

std::vector<std::string> SplitList(std::string_view value) {
  std::vector<std::string> items;
  while (!value.empty()) {
    const auto end = value.find(';');
    const std::string_view item = Trim(value.substr(0, end));
    if (!item.empty()) items.emplace_back(item);
    if (end == std::string_view::npos) break;
    value.remove_prefix(end + 1);
  }
  return items;
}

std::optional<std::string> WithoutItem(std::string_view value, std::string_view item) {
  // The pieces between the separators; the last has none after it.
  std::vector<std::string_view> pieces;
  for (std::string_view rest = value;;) {
    const auto end = rest.find(';');
    pieces.push_back(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  std::string out;
  bool any = false;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const bool last = i + 1 == pieces.size();
    if (Trim(pieces[i]) == item) {
      // A last piece without its own separator takes the one before it.
      if (last && !out.empty() && out.back() == ';') out.pop_back();
      continue;
    }
    any = any || !Trim(pieces[i]).empty();
    out += std::string(pieces[i]) + (last ? "" : ";");
  }
  if (!any) return std::nullopt;
  return out;
}

std::string WithItemFirst(std::string_view value, std::string_view item) {
  return std::string(item) + ';' + WithoutItem(value, item).value_or("");
}

bool FitsKeyFile(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x20 || lead == 0x7F) return false;
    std::size_t length = 1;
    char32_t code = lead;
    if (lead >= 0xF5 || (lead >= 0x80 && lead < 0xC2)) return false;
    if (lead >= 0xF0) {
      length = 4, code = lead & 0x07u;
    } else if (lead >= 0xE0) {
      length = 3, code = lead & 0x0Fu;
    } else if (lead >= 0xC2) {
      length = 2, code = lead & 0x1Fu;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0u) != 0x80u) return false;
      code = (code << 6) | (next & 0x3Fu);
    }
    // Overlong forms, surrogates, beyond U+10FFFF and the C1 controls.
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF || (code >= 0x80 && code < 0xA0)) {
      return false;
    }
    i += length;
  }
  return true;
}

std::string EscapeValue(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string ExecArgument(std::string_view argument) {
  constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
  std::string quoted;
  if (argument.empty() || argument.find_first_of(kReserved) != std::string_view::npos) {
    quoted += '"';
    for (const char c : argument) {
      if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
      quoted += c;
    }
    quoted += '"';
  } else {
    quoted = argument;
  }
  std::string out;
  for (const char c : quoted) {
    if (c == '%') out += '%';
    out += c;
  }
  return EscapeValue(out);
}

std::string UnescapeValue(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const char next = value[++i];
    out += next == 's' ? ' ' : next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

std::string ExecProgram(std::string_view exec) {
  // First the string value's escapes, then the Exec key's own quoting.
  const std::string value = UnescapeValue(exec);
  std::string program;
  std::size_t i = value.find_first_not_of(' ');
  if (i == std::string::npos) return program;
  if (value[i] == '"') {
    for (++i; i < value.size() && value[i] != '"'; ++i) {
      if (value[i] == '\\' && i + 1 < value.size()) ++i;
      program += value[i];
    }
  } else {
    program = value.substr(i, value.find(' ', i) - i);
  }
  std::string out;
  for (std::size_t k = 0; k < program.size(); ++k) {
    out += program[k];
    if (program[k] == '%' && k + 1 < program.size() && program[k + 1] == '%') ++k;
  }
  return out;
}

std::string ShellWord(std::string_view text) {
  std::string out = "'";
  for (const char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

std::optional<std::string> UserDir(std::string_view userDirs, std::string_view name, std::string_view home) {
  for (const std::string_view line : Lines(userDirs)) {
    const auto value = EntryValue(line, name);
    if (!value || value->size() < 2 || value->front() != '"' || value->back() != '"') continue;
    std::string path;
    const std::string_view quoted = value->substr(1, value->size() - 2);
    for (std::size_t i = 0; i < quoted.size(); ++i) {
      if (quoted[i] == '\\' && i + 1 < quoted.size()) ++i;
      path += quoted[i];
    }
    // The file gives "$HOME/..." or an absolute path; anything else is not
    // meant for us to guess at.
    if (path == "$HOME" || path.starts_with("$HOME/")) return std::string(home) + path.substr(5);
    if (path.starts_with('/')) return path;
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace vellonix::integration::freedesktop
