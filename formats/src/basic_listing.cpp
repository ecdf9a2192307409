#include "vellonix/formats/basic_listing.hpp"

#include <array>
#include <cstddef>
#include <string_view>

namespace vellonix::formats {

namespace {

// How LIST spaces a keyword: a space before it unless the last character
// printed was one, a space after it when it ends in a letter or '$'.
enum Spacing : std::uint8_t { kNone = 0, kLeading = 1, kTrailing = 2, kBoth = kLeading | kTrailing };

struct Keyword {
  std::string_view Text;
  Spacing Space = kNone;
};

// One-byte keywords, 0x85 onwards; all commands and qualifiers are spaced
// both sides. F7-F9 are MasterDOS's own commands. Empty: no keyword.
constexpr std::array<std::string_view, 0xFF - 0x85> kCommands{
    "USING",   "WRITE",     "AT",        "TAB",       "OFF",      "WHILE",   "UNTIL",    "LINE",    "THEN",
    "TO",      "STEP",      "DIR",       "FORMAT",    "ERASE",    "MOVE",    "SAVE",     "LOAD",    "MERGE",
    "VERIFY",  "OPEN",      "CLOSE",     "CIRCLE",    "PLOT",     "LET",     "BLITZ",    "BORDER",  "CLS",
    "PALETTE", "PEN",       "PAPER",     "FLASH",     "BRIGHT",   "INVERSE", "OVER",     "FATPIX",  "CSIZE",
    "BLOCKS",  "MODE",      "GRAB",      "PUT",       "BEEP",     "SOUND",   "NEW",      "RUN",     "STOP",
    "CONTINUE", "CLEAR",    "GO TO",     "GO SUB",    "RETURN",   "REM",     "READ",     "DATA",    "RESTORE",
    "PRINT",   "LPRINT",    "LIST",      "LLIST",     "DUMP",     "FOR",     "NEXT",     "PAUSE",   "DRAW",
    "DEFAULT", "DIM",       "INPUT",     "RANDOMIZE", "DEF FN",   "DEF KEYCODE", "DEF PROC", "END PROC", "RENUM",
    "DELETE",  "REF",       "COPY",      "",          "KEYIN",    "LOCAL",   "LOOP IF",  "DO",      "LOOP",
    "EXIT IF", "IF",        "IF",        "ELSE",      "ELSE",     "END IF",  "KEY",      "ON ERROR", "ON",
    "GET",     "OUT",       "POKE",      "DPOKE",     "RENAME",   "CALL",    "ROLL",     "SCROLL",  "SCREEN",
    "DISPLAY", "BOOT",      "LABEL",     "FILL",      "WINDOW",   "AUTO",    "POP",      "RECORD",  "DEVICE",
    "PROTECT", "HIDE",      "ZAP",       "POW",       "BOOM",     "ZOOM",    "BACKUP",   "TIME",    "DATE",
    "",        "",          "",          "",          ""};
static_assert(kCommands[0xD0 - 0x85].empty() && kCommands[0xF6 - 0x85] == "ZOOM" && kCommands[0xB7 - 0x85] == "REM");

// Functions, 0xFF followed by 0x30 onwards. 0x30-0x36 are MasterDOS's,
// spaced like the ROM's functions that take arguments.
constexpr std::uint8_t kFirstFunction = 0x30;
constexpr std::array<Keyword, 0x84 - kFirstFunction> kFunctions{{
    {"TIME$", kTrailing}, {"DATE$", kTrailing}, {"INP$", kTrailing}, {"DIR$", kTrailing},
    {"FSTAT", kTrailing}, {"DSTAT", kTrailing}, {"FPAGES", kTrailing}, {}, {}, {}, {},
    // 0x3B-0x52: functions without arguments of their own; no spaces but
    // after FN and BIN.
    {"PI"}, {"RND"}, {"POINT"}, {"FREE"}, {"LENGTH"}, {"ITEM"}, {"ATTR"}, {"FN", kTrailing}, {"BIN", kTrailing},
    {"XMOUSE"}, {"YMOUSE"}, {"XPEN"}, {"YPEN"}, {"RAMTOP"}, {}, {"INSTR"}, {"INKEY$"}, {"SCREEN$"}, {"MEM$"},
    {}, {"PATH$"}, {"STRING$"}, {}, {},
    // 0x53-0x79: the calculator's functions, a space after.
    {"SIN", kTrailing}, {"COS", kTrailing}, {"TAN", kTrailing}, {"ASN", kTrailing}, {"ACS", kTrailing},
    {"ATN", kTrailing}, {"LN", kTrailing}, {"EXP", kTrailing}, {"ABS", kTrailing}, {"SGN", kTrailing},
    {"SQR", kTrailing}, {"INT", kTrailing}, {"USR", kTrailing}, {"IN", kTrailing}, {"PEEK", kTrailing},
    {"DPEEK", kTrailing}, {"DVAR", kTrailing}, {"SVAR", kTrailing}, {"BUTTON", kTrailing}, {"EOF", kTrailing},
    {"PTR", kTrailing}, {}, {"UDG", kTrailing}, {}, {"LEN", kTrailing}, {"CODE", kTrailing}, {"VAL$", kTrailing},
    {"VAL", kTrailing}, {"TRUNC$", kTrailing}, {"CHR$", kTrailing}, {"STR$", kTrailing}, {"BIN$", kTrailing},
    {"HEX$", kTrailing}, {"USR$", kTrailing}, {}, {"NOT", kTrailing}, {}, {}, {},
    // 0x7A-0x80: binary operators, spaced both sides; 0x81-0x83 not at all.
    {"MOD", kBoth}, {"DIV", kBoth}, {"BOR", kBoth}, {}, {"BAND", kBoth}, {"OR", kBoth}, {"AND", kBoth},
    {"<>"}, {"<="}, {">="}}};
static_assert(kFunctions[0x6C - kFirstFunction].Text == "CODE" && kFunctions[0x83 - kFirstFunction].Text == ">=");

constexpr std::uint8_t kEndOfLine = 0x0D;
constexpr std::uint8_t kNumberMarker = 0x0E;
constexpr std::size_t kNumberBytes = 5;
constexpr std::uint8_t kFunctionPrefix = 0xFF;
constexpr std::uint8_t kFirstCommand = 0x85;
constexpr std::uint8_t kQuote = 0x22;

// The SAM's block graphics 0x80-0x8F: bit 0 the top right quarter, bit 1
// the top left, bit 2 the bottom right, bit 3 the bottom left.
constexpr std::array<std::string_view, 16> kBlocks{"\u00A0", "\u259D", "\u2598", "\u2580", "\u2597", "\u2590",
                                                   "\u259A", "\u259C", "\u2596", "\u259E", "\u258C", "\u259B",
                                                   "\u2584", "\u259F", "\u2599", "\u2588"};

// Operand bytes that follow a control code: INK/PEN to OVER one, AT and
// TAB two.
std::size_t OperandCount(std::uint8_t code) {
  if (code >= 0x10 && code <= 0x15) return 1;
  if (code == 0x16 || code == 0x17) return 2;
  return 0;
}

class LineWriter {
 public:
  explicit LineWriter(std::string& out) : out_(out) {}

  void Number(int number) {
    const std::string digits = std::to_string(number);
    out_.append(digits.size() < 5 ? 5 - digits.size() : 0, ' ');
    out_ += digits;
    Char(' ');
  }
  void Char(char c) {
    out_ += c;
    lastWasSpace_ = c == ' ';
  }
  void Text(std::string_view text) {
    out_ += text;
    lastWasSpace_ = false;
  }
  void Escape(unsigned code) { Text("{" + std::to_string(code) + "}"); }
  void Word(const Keyword& keyword) {
    if ((keyword.Space & kLeading) != 0 && !lastWasSpace_) Char(' ');
    Text(keyword.Text);
    const char last = keyword.Text.back();
    if ((keyword.Space & kTrailing) != 0 && ((last >= 'A' && last <= 'Z') || last == '$')) Char(' ');
  }
  void End() { out_ += '\n'; }

 private:
  std::string& out_;
  bool lastWasSpace_ = false;
};

// Writes one line's text (the bytes after its number and length).
void ListLineText(std::span<const std::uint8_t> text, LineWriter& line) {
  bool inQuotes = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint8_t code = text[i];
    if (code == kEndOfLine) return;
    if (code == kNumberMarker) {
      i += kNumberBytes;
    } else if (code < 0x20) {
      line.Escape(code);
      for (std::size_t n = OperandCount(code); n > 0 && i + 1 < text.size(); --n) line.Escape(text[++i]);
    } else if (code < 0x7F) {
      if (code == kQuote) inQuotes = !inQuotes;
      line.Char(static_cast<char>(code));
    } else if (code >= 0x80 && code < 0x90 && (inQuotes || code < kFirstCommand)) {
      line.Text(kBlocks[code - 0x80]);
    } else if (code == 0x7F || inQuotes) {
      line.Escape(code);
    } else if (code != kFunctionPrefix) {
      const std::string_view word = kCommands[code - kFirstCommand];
      if (word.empty()) {
        line.Escape(code);
      } else {
        line.Word({word, kBoth});
      }
    } else if (i + 1 >= text.size() || text[i + 1] == kEndOfLine) {
      line.Escape(code);
    } else {
      const std::uint8_t function = text[++i];
      const bool known = function >= kFirstFunction && std::size_t{function} - kFirstFunction < kFunctions.size() &&
                         !kFunctions[function - kFirstFunction].Text.empty();
      if (known) {
        line.Word(kFunctions[function - kFirstFunction]);
      } else {
        line.Escape(code);
        line.Escape(function);
      }
    }
  }
}

}  // namespace

BasicListing ListBasicProgram(std::span<const std::uint8_t> program, BasicLineRange range) {
  BasicListing listing;
  LineWriter line(listing.Text);
  std::size_t at = 0;
  while (at < program.size()) {
    if (program[at] == kFunctionPrefix) {
      listing.EndMarkerFound = true;
      return listing;
    }
    if (program.size() - at < 4) break;
    const int number = program[at] << 8 | program[at + 1];
    const std::size_t length = program[at + 2] | program[at + 3] << 8;
    at += 4;
    const std::size_t available = std::min(length, program.size() - at);
    if (number >= range.From && number <= range.To) {
      line.Number(number);
      ListLineText(program.subspan(at, available), line);
      line.End();
    }
    if (available < length) {
      listing.Cut = true;
      listing.CutLine = number;
      return listing;
    }
    at += length;
  }
  // The data ran out without an end marker: cut when it ended inside a
  // line's number and length.
  listing.Cut = at < program.size();
  return listing;
}

std::string DescribeListingEnd(const BasicListing& listing) {
  if (listing.EndMarkerFound) return {};
  if (listing.CutLine) {
    return "the program's data ends inside line " + std::to_string(*listing.CutLine) + ", listed as far as it goes";
  }
  return "the program's data ends before its end marker; it may be cut short";
}

}  // namespace vellonix::formats
