#include "listing_output.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <string_view>
#include <vector>

#include "terminal_text.hpp"
#include "vellonix/core/text.hpp"

namespace vellonix::cli {

namespace {

enum class Align { Left, Right };

struct Column {
  std::string_view Caption;
  Align Alignment;
};

constexpr std::array<Column, 7> kColumns{{{"File #", Align::Right},
                                          {"Filename", Align::Left},
                                          {"Size", Align::Right},
                                          {"Type", Align::Left},
                                          {"Details", Align::Left},
                                          {"Date stamp", Align::Left},
                                          {"Flags", Align::Left}}};
constexpr std::string_view kColumnGap = "  ";

using TableRow = std::array<TerminalText, kColumns.size()>;

std::string Flags(const core::ListRow& row) {
  std::string flags;
  if (row.Corrupted) flags += 'C';
  if (row.Protected) flags += 'P';
  if (row.Hidden) flags += 'H';
  return flags;
}

TableRow CellsOf(const core::ListRow& row) {
  using core::SubItem;
  return {ForTerminal(row.Caption),
          ForTerminal(row.SubItems[SubItem::kFilename]),
          ForTerminal(row.SubItems[SubItem::kSize]),
          ForTerminal(row.SubItems[SubItem::kType]),
          ForTerminal(row.SubItems[SubItem::kDetails]),
          ForTerminal(row.SubItems[SubItem::kDateStamp]),
          ForTerminal(Flags(row))};
}

std::string FormatLine(const TableRow& cells, const std::array<std::size_t, kColumns.size()>& widths) {
  std::string line;
  for (std::size_t c = 0; c < cells.size(); ++c) {
    if (c != 0) line += kColumnGap;
    const std::string padding(widths[c] - cells[c].Width, ' ');
    if (kColumns[c].Alignment == Align::Right) line += padding;
    line += cells[c].Utf8;
    if (kColumns[c].Alignment == Align::Left) line += padding;
  }
  // Only padding can trail: every cell ends in a visible character or is
  // escaped, except a file name's own spaces, which show as nothing anyway.
  line.erase(line.find_last_not_of(' ') + 1);
  return line + '\n';
}

}  // namespace

std::string ListingTable(const core::DirectoryListing& listing) {
  std::vector<TableRow> rows;
  rows.reserve(listing.Rows.size() + 2);
  TableRow header;
  TableRow rule;
  for (std::size_t c = 0; c < kColumns.size(); ++c) header[c] = ForTerminal(kColumns[c].Caption);
  rows.push_back(header);
  rows.push_back(rule);  // filled once the widths are known
  for (const core::ListRow& row : listing.Rows) rows.push_back(CellsOf(row));

  std::array<std::size_t, kColumns.size()> widths{};
  for (const TableRow& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].Width);
  }
  for (std::size_t c = 0; c < kColumns.size(); ++c) rows[1][c] = {std::string(widths[c], '-'), widths[c]};

  std::string out;
  for (const TableRow& row : rows) out += FormatLine(row, widths);
  out += '\n';
  for (const std::string& panel : listing.Status) out += ForTerminal(panel).Utf8 + '\n';
  return out;
}

namespace {

// A JSON string of SAM bytes read as Latin-1 characters, escaped as
// DumpJson escapes: quotes, backslashes, C0 and C1 controls and DEL.
void AppendLatin1String(std::string& out, std::string_view latin1) {
  constexpr std::string_view kHex = "0123456789abcdef";
  out += '"';
  std::size_t plain = 0;  // where the run of characters copied as they are starts
  for (std::size_t i = 0; i < latin1.size(); ++i) {
    const auto code = static_cast<unsigned char>(latin1[i]);
    if (code >= 0x20 && code < 0x7F && code != '"' && code != '\\') continue;
    out.append(latin1.substr(plain, i - plain));
    plain = i + 1;
    const char* shortEscape = code == '"'    ? "\\\""
                              : code == '\\' ? "\\\\"
                              : code == '\b'  ? "\\b"
                              : code == '\f'  ? "\\f"
                              : code == '\n'  ? "\\n"
                              : code == '\r'  ? "\\r"
                              : code == '\t'  ? "\\t"
                                              : nullptr;
    if (shortEscape != nullptr) {
      out += shortEscape;
    } else if (core::IsControlCode(code)) {
      out += "\\u00";
      out += kHex[code >> 4];
      out += kHex[code & 0x0F];
    } else {
      out += static_cast<char>(0xC0 | code >> 6);
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  out.append(latin1.substr(plain));
  out += '"';
}

// `"key":`, `,"key":` after the first member; keys are plain ASCII.
void AppendKey(std::string& out, std::string_view key, bool first = false) {
  if (!first) out += ',';
  out += '"';
  out += key;
  out += "\":";
}

void AppendText(std::string& out, std::string_view key, std::string_view latin1, bool first = false) {
  AppendKey(out, key, first);
  AppendLatin1String(out, latin1);
}

void AppendNumber(std::string& out, std::string_view key, int value, bool first = false) {
  AppendKey(out, key, first);
  std::array<char, 12> digits{};
  out.append(digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr);
}

void AppendFlag(std::string& out, std::string_view key, bool value) {
  AppendKey(out, key);
  out += value ? "true" : "false";
}

}  // namespace

std::string ListingJson(const core::DirectoryListing& listing, core::ContainerKind container,
                        const nlohmann::ordered_json& before) {
  using core::SubItem;
  std::string out = before.empty() ? std::string("{") : DumpJson(before);
  if (out.size() > 1) out.back() = ',';  // the members before, then these
  out.reserve(out.size() + 256 * (listing.Rows.size() + 2));
  AppendText(out, "container", core::ContainerName(container), true);
  AppendNumber(out, "dos", listing.State.DosKind);
  AppendNumber(out, "dirSlots", listing.State.DirSlotCount);
  AppendKey(out, "status");
  out += '[';
  for (std::size_t i = 0; i < listing.Status.size(); ++i) {
    if (i != 0) out += ',';
    AppendLatin1String(out, listing.Status[i]);
  }
  out += ']';
  AppendKey(out, "files");
  out += '[';
  for (std::size_t i = 0; i < listing.Rows.size(); ++i) {
    const core::ListRow& row = listing.Rows[i];
    out += i == 0 ? "{" : ",{";
    AppendNumber(out, "slot", row.Slot, true);
    AppendText(out, "fileNumber", row.Caption);
    AppendText(out, "name", row.SubItems[SubItem::kFilename]);
    AppendText(out, "size", row.SubItems[SubItem::kSize]);
    AppendText(out, "type", row.SubItems[SubItem::kType]);
    AppendText(out, "details", row.SubItems[SubItem::kDetails]);
    AppendText(out, "date", row.SubItems[SubItem::kDateStamp]);
    AppendNumber(out, "rowIcon", row.RowIcon);
    AppendNumber(out, "nameIcon", row.NameIcon);
    AppendFlag(out, "corrupted", row.Corrupted);
    AppendFlag(out, "protected", row.Protected);
    AppendFlag(out, "hidden", row.Hidden);
    out += '}';
  }
  out += "]}";
  return out;
}

nlohmann::ordered_json PathJson(std::string_view path) {
  nlohmann::ordered_json object = {{"path", std::string(path)}};
  if (!IsUtf8(path)) {
    nlohmann::ordered_json bytes = nlohmann::ordered_json::array();
    for (const char ch : path) bytes.push_back(static_cast<unsigned char>(ch));
    object["path_bytes"] = std::move(bytes);
  }
  return object;
}

std::string DumpJson(const nlohmann::ordered_json& value) {
  // Paths are host text and need not be UTF-8: bytes that are not show as
  // U+FFFD rather than failing the whole listing.
  const std::string text = value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto code = static_cast<unsigned char>(text[i]);
    // Outside strings the dump is plain ASCII, and inside them U+0080-U+009F
    // are the bytes C2 80 - C2 9F: rewriting them keeps the JSON valid.
    const bool c1 = code == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F;
    if (code == 0x7F || c1) {
      const unsigned point = c1 ? static_cast<unsigned char>(text[++i]) : code;
      std::array<char, 7> escape{};
      std::snprintf(escape.data(), escape.size(), "\\u%04x", point);
      out += escape.data();
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace vellonix::cli
