// SAM BASIC listings: lines from real programs as raw bytes, then tables of
// tokens, number forms and damaged programs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "vellonix/formats/basic_listing.hpp"

namespace {

using vellonix::formats::BasicLineRange;
using vellonix::formats::ListBasicProgram;
using Bytes = std::vector<std::uint8_t>;

Bytes WithEndMarker(Bytes program) {
  program.push_back(0xFF);
  return program;
}

// One line numbered `number` whose text is `text` followed by 0x0D.
Bytes Line(int number, Bytes text) {
  text.push_back(0x0D);
  Bytes line(4 + text.size());
  line[0] = static_cast<std::uint8_t>(number >> 8);
  line[1] = static_cast<std::uint8_t>(number);
  line[2] = static_cast<std::uint8_t>(text.size());
  line[3] = static_cast<std::uint8_t>(text.size() >> 8);
  std::copy(text.begin(), text.end(), line.begin() + 4);
  return line;
}

std::string ListOne(Bytes text) { return ListBasicProgram(WithEndMarker(Line(10, std::move(text)))).Text; }

struct RealLine {
  const char* Source;
  Bytes Raw;  // number, length, text and 0x0D as stored
  const char* Expected;
};

// Lines of real programs; the expected texts follow the ROM's spacing:
// commands and operators spaced both sides, functions that take arguments
// followed by a space, PI, MEM$ and the like by none.
TEST(BasicListing, RealProgramLinesListAsTheRomDoes) {
  const RealLine lines[] = {
      {"loader line 10",
       {0x00, 0x0A, 0x25, 0x00, 0xE1, 0x32, 0x33, 0x33, 0x36, 0x31, 0x0E, 0x00, 0x00, 0x41, 0x5B, 0x00, 0x2C, 0x30,
        0x0E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3A, 0x95, 0x22, 0x45, 0x54, 0x52, 0x41, 0x43, 0x4B, 0x2E, 0x43, 0x48,
        0x52, 0x22, 0xFF, 0x6C, 0x0D},
       "   10 POKE 23361,0: LOAD \"ETRACK.CHR\"CODE \n"},
      {"loader line 60 (short IF before THEN)",
       {0x00, 0x3C, 0x30, 0x00, 0xD8, 0x41, 0x24, 0x3D, 0x22, 0x31, 0x22, 0x8D, 0xA0, 0x39, 0x0E, 0x00, 0x00, 0x09,
        0x00, 0x00, 0x2C, 0x31, 0x32, 0x33, 0x0E, 0x00, 0x00, 0x7B, 0x00, 0x00, 0x3A, 0xC2, 0x31, 0x0E, 0x00, 0x00,
        0x01, 0x00, 0x00, 0x3A, 0x95, 0x22, 0x45, 0x54, 0x52, 0x41, 0x43, 0x4B, 0x45, 0x52, 0x22, 0x0D},
       "   60 IF A$=\"1\" THEN PALETTE 9,123: PAUSE 1: LOAD \"ETRACKER\"\n"},
      {"procedure call with its calling buffer",
       {0x00, 0x3C, 0x0B, 0x00, 0x4D, 0x45, 0x4E, 0x55, 0x0E, 0xFD, 0xFD, 0x80, 0xD0, 0x9E, 0x0D},
       "   60 MENU\n"},
      {"floating-point number forms",
       {0x03, 0xC1, 0x2B, 0x00, 0xE1, 0x34, 0x39, 0x38, 0x30, 0x32, 0x0E, 0x00, 0x00, 0x8A, 0xC2, 0x00, 0x2C,
        0xFF, 0x4D, 0x28, 0x31, 0x33, 0x31, 0x30, 0x37, 0x32, 0x0E, 0x92, 0x00, 0x00, 0x00, 0x00, 0x8E, 0x31,
        0x36, 0x37, 0x39, 0x33, 0x35, 0x0E, 0x92, 0x23, 0xFF, 0xC0, 0x00, 0x29, 0x0D},
       "  961 POKE 49802,MEM$(131072 TO 167935)\n"},
      {"MasterDOS function FSTAT",
       {0x00, 0x28, 0x24, 0x00, 0x9C, 0x4C, 0x3D, 0xFF, 0x34, 0x28, 0x4E, 0x24, 0x2C, 0x32, 0x0E, 0x00, 0x00, 0x02,
        0x00, 0x00, 0x29, 0x3A, 0x96, 0x4E, 0x24, 0x20, 0xFF, 0x6C, 0x33, 0x32, 0x37, 0x36, 0x38, 0x0E, 0x00, 0x00,
        0x00, 0x80, 0x00, 0x0D},
       "   40 LET L=FSTAT (N$,2): MERGE N$ CODE 32768\n"},
      {"hexadecimal numbers and functions",
       {0x00, 0x0A, 0x2D, 0x00, 0x9C, 0x62, 0x3D, 0xFF, 0x62, 0x26, 0x34, 0x30, 0x30, 0x39, 0x0E, 0x00, 0x00, 0x09,
        0x40, 0x00, 0x2B, 0xFF, 0x61, 0x28, 0x26, 0x34, 0x30, 0x30, 0x38, 0x0E, 0x00, 0x00, 0x08, 0x40, 0x00, 0x29,
        0x2A, 0x36, 0x35, 0x35, 0x33, 0x36, 0x0E, 0x91, 0x00, 0x00, 0x00, 0x00, 0x0D},
       "   10 LET b=DPEEK &4009+PEEK (&4008)*65536\n"},
  };
  for (const RealLine& line : lines) {
    EXPECT_EQ(ListBasicProgram(WithEndMarker(line.Raw)).Text, line.Expected) << line.Source;
  }
}

struct TextCase {
  const char* What;
  Bytes Text;  // a line's text without its 0x0D
  const char* Expected;
};

void ExpectLines(std::initializer_list<TextCase> cases) {
  for (const TextCase& c : cases) EXPECT_EQ(ListOne(c.Text), std::string("   10 ") + c.Expected + "\n") << c.What;
}

TEST(BasicListing, KeywordsOfEveryKindWithTheirSpacing) {
  ExpectLines({
      {"two-word command after a character", {'1', 0xB4, '5'}, "1 GO TO 5"},
      {"commands in a row share their spaces", {0xBB, 0x87, '1'}, "PRINT AT 1"},
      {"keyword ending in neither letter nor $", {0xFF, 0x81, 'a'}, "<>a"},
      {"function without arguments", {'x', 0xFF, 0x3B, '+', 0xFF, 0x3C}, "xPI+RND"},
      {"FN keeps its space after", {0xFF, 0x42, 'a'}, "FN a"},
      {"calculator function", {'=', 0xFF, 0x5B, 'x'}, "=ABS x"},
      {"binary operator", {'a', 0xFF, 0x7F, 'b'}, "a OR b"},
      {"last one-byte keyword of the ROM", {0xF6}, "ZOOM "},
      {"MasterDOS command", {0xF7, 'd'}, "BACKUP d"},
      {"MasterDOS function", {'=', 0xFF, 0x30}, "=TIME$ "},
      {"REM text is not tokenised but lists its keyword codes", {0xB7, 'h', 'i', 0xBB}, "REM hi PRINT "},
  });
}

TEST(BasicListing, UnknownCodesControlCodesAndGraphicsAreEscapedOrMapped) {
  ExpectLines({
      {"one-byte code without keyword", {0xD0, 0xFA}, "{208}{250}"},
      {"function code without keyword", {0xFF, 0x68, 0xFF, 0x00}, "{255}{104}{255}{0}"},
      {"function prefix at the end of the text", {'a', 0xFF}, "a{255}"},
      {"INVERSE 1 ... INVERSE 0", {0x14, 0x01, 'x', 0x14, 0x00}, "{20}{1}x{20}{0}"},
      {"AT takes two operand bytes", {0x16, 0x05, 0x0A, 'x'}, "{22}{5}{10}x"},
      {"an operand of 13 does not end the line", {0x10, 0x0D, 'x'}, "{16}{13}x"},
      {"other control codes", {0x06, 0x08}, "{6}{8}"},
      {"127", {0x7F}, "{127}"},
      {"block graphics outside quotes", {0x80, 0x81, 0x84}, "\u00A0\u259D\u2597"},
      {"block graphics and UDGs inside quotes", {'"', 0x85, 0x8F, 0xC0, 0xFF, '"', 0x85}, "\"\u2590\u2588{192}{255}\" USING "},
  });
}

TEST(BasicListing, NumberFormsAreSkippedWherever) {
  ExpectLines({
      {"small positive integer", {'5', 0x0E, 0x00, 0x00, 0x05, 0x00, 0x00}, "5"},
      {"small negative integer", {'1', 0x0E, 0x00, 0xFF, 0xFF, 0xFF, 0x00}, "1"},
      {"floating point", {'6', 0x0E, 0x91, 0x00, 0x00, 0x00, 0x00, '+'}, "6+"},
      {"value bytes that look like codes", {'9', 0x0E, 0x00, 0x00, 0x0D, 0x22, 0x00, 'x'}, "9x"},
      {"function call buffer", {'f', 0x0E, 0xFE, 0xFE, 0x01, 0x02, 0x03}, "f"},
      {"inside quotes too", {'"', '1', 0x0E, 0x00, 0x00, 0x01, 0x00, 0x00, '"'}, "\"1\""},
      {"marker with fewer than five bytes left", {'7', 0x0E, 0x00}, "7"},
  });
}

TEST(BasicListing, LinesAreWalkedByLengthUpToTheEndMarker) {
  Bytes program = Line(10, {0xBB, '"', 'a', '"'});
  const Bytes high = Line(30010, {0xB6});
  program.insert(program.end(), high.begin(), high.end());
  program.push_back(0xFF);
  // Variables follow the marker; they must not be read as lines.
  const Bytes variables = Line(40, {0xBB});
  program.insert(program.end(), variables.begin(), variables.end());

  const auto listing = ListBasicProgram(program);
  EXPECT_EQ(listing.Text, "   10 PRINT \"a\"\n30010 RETURN \n");
  EXPECT_TRUE(listing.EndMarkerFound);
  EXPECT_FALSE(listing.Cut);

  EXPECT_EQ(ListBasicProgram(program, BasicLineRange{11, 30010}).Text, "30010 RETURN \n");
  EXPECT_EQ(ListBasicProgram(program, BasicLineRange{0, 9}).Text, "");
}

TEST(BasicListing, TextAfterAnEarlyEndOfLineIsNotListed) {
  // The length counts bytes past a 0x0D: the line ends at the 0x0D, the
  // next line is found by the length.
  Bytes program{0x00, 0x0A, 0x04, 0x00, 'a', 0x0D, 'b', 0x0D};
  const Bytes next = Line(20, {'c'});
  program.insert(program.end(), next.begin(), next.end());
  EXPECT_EQ(ListBasicProgram(WithEndMarker(program)).Text, "   10 a\n   20 c\n");
}

TEST(BasicListing, ShortDataIsListedAsFarAsItGoes) {
  const Bytes whole = Line(10, {0xBB, 'x', 'y'});

  const auto cutInLine = ListBasicProgram(Bytes(whole.begin(), whole.end() - 2));
  EXPECT_EQ(cutInLine.Text, "   10 PRINT x\n");
  EXPECT_TRUE(cutInLine.Cut);
  EXPECT_EQ(cutInLine.CutLine, 10);

  Bytes cutInHeader = whole;
  cutInHeader.insert(cutInHeader.end(), {0x00, 0x14, 0x05});
  const auto header = ListBasicProgram(cutInHeader);
  EXPECT_EQ(header.Text, "   10 PRINT xy\n");
  EXPECT_TRUE(header.Cut);
  EXPECT_FALSE(header.CutLine);

  const auto noMarker = ListBasicProgram(whole);
  EXPECT_FALSE(noMarker.Cut);
  EXPECT_FALSE(noMarker.EndMarkerFound);

  const Bytes lying{0x00, 0x0A, 0xFF, 0xFF, 'a'};
  EXPECT_EQ(ListBasicProgram(lying).Text, "   10 a\n");
  EXPECT_TRUE(ListBasicProgram({}).Text.empty());
}

}  // namespace
