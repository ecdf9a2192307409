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

// Walks the bracket set starting at pattern[at] == '[', calling
// `range(low, high)` for each of its ranges (a single byte is low == high),
// and returns the position after it and whether it is negated, or nothing
// when the set has no closing ']' (then the '[' stands for itself).
struct SetEnd {
  std::size_t End;
  bool Negated;
};
template <typename Range>
std::optional<SetEnd> WalkSet(std::string_view pattern, std::size_t at, Range range) {
  std::size_t i = at + 1;
  const bool negated = i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^');
  if (negated) ++i;
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
    range(low, high);
    ++i;
  }
  if (i >= pattern.size()) return std::nullopt;
  return SetEnd{i + 1, negated};
}

// Matches `c` against the bracket set starting at pattern[at] == '['.
// Returns the position after the set and whether `c` is in it, or nothing
// when the set has no closing ']'.
struct SetMatch {
  std::size_t End;
  bool Matched;
};
std::optional<SetMatch> MatchSet(std::string_view pattern, std::size_t at, char c) {
  bool matched = false;
  const auto set = WalkSet(pattern, at, [&](unsigned char low, unsigned char high) {
    matched = matched || InRange(low, high, c);
  });
  if (!set) return std::nullopt;
  return SetMatch{set->End, matched != set->Negated};
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

std::optional<std::string> NamePatternProblem(std::string_view pattern) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const auto place = [at = i + 1] { return " at character " + std::to_string(at); };
    if (pattern[i] == '\\') {
      if (++i == pattern.size()) return "the \\" + place() + " has nothing after it (\\\\ is a \\ itself)";
    } else if (pattern[i] == '[') {
      bool reversed = false;
      const auto set = WalkSet(pattern, i, [&](unsigned char low, unsigned char high) { reversed |= low > high; });
      if (!set) return "the [" + place() + " has no closing ] (\\[ is a [ itself)";
      if (reversed) return "the set [...]" + place() + " has a range whose ends are the wrong way round";
      i = set->End - 1;
    }
  }
  return std::nullopt;
}

}  // namespace vellonix::formats
