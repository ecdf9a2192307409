// Shell-style patterns on SAM file names.
#include <gtest/gtest.h>

#include "vellonix/formats/name_pattern.hpp"

namespace {

using vellonix::formats::MatchesNamePattern;

TEST(NamePattern, MatchesAsAShellWouldIgnoringCase) {
  struct Case {
    const char* Pattern;
    const char* Name;
    bool Matches;
  };
  const Case cases[] = {
      {"*", "", true},
      {"*", "game.bin", true},
      {"game*", "GAME.BIN", true},
      {"*.BIN", "game.bin", true},
      {"*.bin", "game.binx", false},
      {"g?me", "game", true},
      {"g?me", "gme", false},
      {"?", "", false},
      {"*a*a*a*", "banana", true},
      {"*a*a*a*a*", "banana", false},
      {"[a-c]*", "Basic", true},
      {"[!a-c]*", "basic", false},
      {"[^a-c]*", "demo", true},
      {"[]x]", "]", true},
      {"[a\\-c]", "-", true},
      {"\\*", "*", true},
      {"\\*", "a", false},
      {"[abc", "[abc", true},
      {"a b", "a b", true},
      {"\xE9*", "\xE9t\xE9", true},
      {"\xC9*", "\xE9t\xE9", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesNamePattern(c.Pattern, c.Name), c.Matches) << c.Pattern << " on " << c.Name;
  }
}

// Patterns that would match nothing but themselves are told apart from the
// sound ones, sets and escapes of every kind among those.
TEST(NamePattern, MalformedPatternsAreToldApart) {
  for (const char* sound : {"*", "", "[a-c]*", "[!a-c]", "[]x]", "[a\\-c]", "\\*", "\\[", "\\\\", "[z]", "a-z"}) {
    EXPECT_EQ(vellonix::formats::NamePatternProblem(sound), std::nullopt) << sound;
  }
  for (const char* malformed : {"[abc", "x[", "[z-a]", "[a-cz-b]", "ab\\", "[]"}) {
    EXPECT_NE(vellonix::formats::NamePatternProblem(malformed), std::nullopt) << malformed;
  }
}

}  // namespace
