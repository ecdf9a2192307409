// SAM BASIC programs (file type 16) listed as text, the way the ROM's LIST
// lays them out.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vellonix::formats {

// Line numbers run from 1 to 0xFEFF: a first byte of 0xFF ends the program.
inline constexpr int kLastBasicLine = 0xFEFF;

struct BasicLineRange {
  int From = 0;
  int To = kLastBasicLine;
};

struct BasicListing {
  // UTF-8, one line per program line ending in a line feed: the number in
  // five columns, a space, the text.
  std::string Text;
  bool EndMarkerFound = false;
  // When the data ended inside a line: that line's number (its text is
  // listed as far as it goes), or nothing when the data ended inside the
  // four bytes that give a line's number and length.
  bool Cut = false;
  std::optional<int> CutLine;
};

// Lists the lines of `program` (the file's data after its 9-byte header)
// whose numbers lie in `range`. Lines are found by their length fields and
// the walk stops at the end marker, so the variables saved after it are
// never read as lines. Within a line:
//  - keywords (one byte 0x85-0xF9, or 0xFF and a code, MasterDOS's included)
//    are spelt out with the ROM's spaces around them;
//  - the five bytes after each 0x0E (a number's stored value) are skipped;
//  - control codes show as {N}, with their operand bytes as {N} too (INK,
//    PAPER, ... take one, AT and TAB two); so do codes no keyword has
//    ({255}{N} for an unknown function) and 127;
//  - 0x80-0x8F show as the Unicode quadrant blocks of the SAM's block
//    graphics (0x80, the empty block, as U+00A0), other bytes above 127
//    inside quotes as {N} (user-defined graphics);
//  - 0x0D ends the line's text.
BasicListing ListBasicProgram(std::span<const std::uint8_t> program, BasicLineRange range = {});

// How a listing without its end marker ended, for the user ("the program's
// data ends inside line 30, listed as far as it goes"); empty when the end
// marker was found.
std::string DescribeListingEnd(const BasicListing& listing);

}  // namespace vellonix::formats
