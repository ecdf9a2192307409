#include "vellonix/formats/name_pattern.hpp"

#include <cstddef>
#include <optional>

namespace vellonix::formats {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool InRange(unsigned char low, unsigned char high, char c) {
  const auto in = [&](char x) { return low <= static_cast<unsigned char>(x) && static_cast<unsigned char>(x) <= high; };
  return in(c) || in(Lower(c)) || in(Upper(c));
}

// Matches `c` against the bracket set starting at pattern[at] == '['.
// Returns the position after the set and whether `c` is in it, or nothing
// when the set has no closing ']' (then the '[' stands for itself).
struct SetMatch {
  std::size_t End;
  bool Matched;
};
std::optional<SetMatch> MatchSet(std::string_view pattern, std::size_t at, char c) {
  std::size_t i = at + 1;
  const bool negated = i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^');
  if (negated) ++i;
  bool matched = false;
  bool first = true;
  while (i < pattern.size() && (pattern[i] != ']' || first)) {
    first = false;
    unsigned char low = static_cast<unsigned char>(pattern[i]);
    if (pattern[i] == '\\' && i + 1 < pattern.size()) low = static_cast<unsigned char>(pattern[++i]);
    unsigned char high = low;
    if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
      i += 2;
      if (pattern[i] == '\\' && i + 1 < pattern.size()) ++i;
      high = static_cast<unsigned char>(pattern[i]);
    }
    matched = matched || InRange(low, high, c);
    ++i;
  }
  if (i >= pattern.size()) return std::nullopt;
  return SetMatch{i + 1, matched != negated};
}

// Matches one pattern element other than '*' at pattern[at] against `c`;
// returns the position after the element, or nothing when `c` fails it.
std::optional<std::size_t> MatchOne(std::string_view pattern, std::size_t at, char c) {
  char literal = pattern[at];
  if (literal == '?') return at + 1;
  if (literal == '[') {
    if (const auto set = MatchSet(pattern, at, c)) return set->Matched ? std::optional(set->End) : std::nullopt;
  }
  if (literal == '\\' && at + 1 < pattern.size()) literal = pattern[++at];
  return Lower(literal) == Lower(c) ? std::optional(at + 1) : std::nullopt;
}

}  // namespace

bool MatchesNamePattern(std::string_view pattern, std::string_view name) {
  // One pass with a single backtrack point: the latest '*' and the name
  // position it was last tried against.
  std::size_t p = 0;
  std::size_t n = 0;
  std::optional<std::size_t> star;
  std::size_t starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = ++p;
      starName = n;
      continue;
    }
    if (p < pattern.size()) {
      if (const auto next = MatchOne(pattern, p, name[n])) {
        p = *next;
        ++n;
        continue;
      }
    }
    if (!star) return false;
    p = *star;
    n = ++starName;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace vellonix::formats
