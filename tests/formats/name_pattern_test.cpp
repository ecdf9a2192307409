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

}  // namespace
