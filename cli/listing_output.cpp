#include "listing_output.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
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

// Appends to a string without a call per piece: a listing's JSON is
// thousands of short pieces, and the string's own appends are not inlined.
// Finish gives the string its length.
class JsonOut {
 public:
  explicit JsonOut(std::string& out, std::size_t expected) : out_(out), size_(out.size()) {
    out_.resize(size_ + expected);
  }
  void Put(char c) {
    if (size_ == out_.size()) Grow(1);
    out_[size_++] = c;
  }
  void Put(std::string_view text) {
    if (out_.size() - size_ < text.size()) Grow(text.size());
    std::memcpy(out_.data() + size_, text.data(), text.size());
    size_ += text.size();
  }
  void Finish() { out_.resize(size_); }

 private:
  void Grow(std::size_t more) { out_.resize(std::max(2 * out_.size(), size_ + more)); }

  std::string& out_;
  std::size_t size_;
};

// A JSON string of SAM bytes read as Latin-1 characters, escaped as
// DumpJson escapes: quotes, backslashes, C0 and C1 controls and DEL.
void PutLatin1String(JsonOut& out, std::string_view latin1) {
  constexpr std::string_view kHex = "0123456789abcdef";
  out.Put('"');
  std::size_t plain = 0;  // where the run of characters copied as they are starts
  for (std::size_t i = 0; i < latin1.size(); ++i) {
    const auto code = static_cast<unsigned char>(latin1[i]);
    if (code >= 0x20 && code < 0x7F && code != '"' && code != '\\') continue;
    out.Put(latin1.substr(plain, i - plain));
    plain = i + 1;
    const std::string_view shortEscape = code == '"'    ? "\\\""
                                         : code == '\\' ? "\\\\"
                                         : code == '\b'  ? "\\b"
                                         : code == '\f'  ? "\\f"
                                         : code == '\n'  ? "\\n"
                                         : code == '\r'  ? "\\r"
                                         : code == '\t'  ? "\\t"
                                                         : "";
    if (!shortEscape.empty()) {
      out.Put(shortEscape);
    } else if (core::IsControlCode(code)) {
      out.Put("\\u00");
      out.Put(kHex[code >> 4]);
      out.Put(kHex[code & 0x0F]);
    } else {
      out.Put(static_cast<char>(0xC0 | code >> 6));
      out.Put(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  out.Put(latin1.substr(plain));
  out.Put('"');
}

// Each member is written with its key and punctuation in one piece:
// `"key":` first, `,"key":` after.
void PutText(JsonOut& out, std::string_view key, std::string_view latin1) {
  out.Put(key);
  PutLatin1String(out, latin1);
}

void PutNumber(JsonOut& out, std::string_view key, int value) {
  out.Put(key);
  std::array<char, 12> digits{};
  out.Put({digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr});
}

void PutFlag(JsonOut& out, std::string_view key, bool value) {
  out.Put(key);
  out.Put(value ? std::string_view("true") : std::string_view("false"));
}

}  // namespace

std::string ListingJson(const core::DirectoryListing& listing, core::ContainerKind container,
                        const nlohmann::ordered_json& before) {
  using core::SubItem;
  std::string text = before.empty() ? std::string("{") : DumpJson(before);
  if (text.size() > 1) text.back() = ',';  // the members before, then these
  JsonOut out(text, 256 * (listing.Rows.size() + 2));
  PutText(out, R"("container":)", core::ContainerName(container));
  PutNumber(out, R"(,"dos":)", listing.State.DosKind);
  PutNumber(out, R"(,"dirSlots":)", listing.State.DirSlotCount);
  out.Put(R"(,"status":[)");
  for (std::size_t i = 0; i < listing.Status.size(); ++i) {
    if (i != 0) out.Put(',');
    PutLatin1String(out, listing.Status[i]);
  }
  out.Put(R"(],"files":[)");
  for (std::size_t i = 0; i < listing.Rows.size(); ++i) {
    const core::ListRow& row = listing.Rows[i];
    out.Put(i == 0 ? "{" : ",{");
    PutNumber(out, R"("slot":)", row.Slot);
    PutText(out, R"(,"fileNumber":)", row.Caption);
    PutText(out, R"(,"name":)", row.SubItems[SubItem::kFilename]);
    PutText(out, R"(,"size":)", row.SubItems[SubItem::kSize]);
    PutText(out, R"(,"type":)", row.SubItems[SubItem::kType]);
    PutText(out, R"(,"details":)", row.SubItems[SubItem::kDetails]);
    PutText(out, R"(,"date":)", row.SubItems[SubItem::kDateStamp]);
    PutNumber(out, R"(,"rowIcon":)", row.RowIcon);
    PutNumber(out, R"(,"nameIcon":)", row.NameIcon);
    PutFlag(out, R"(,"corrupted":)", row.Corrupted);
    PutFlag(out, R"(,"protected":)", row.Protected);
    PutFlag(out, R"(,"hidden":)", row.Hidden);
    out.Put('}');
  }
  out.Put("]}");
  out.Finish();
  return text;
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
