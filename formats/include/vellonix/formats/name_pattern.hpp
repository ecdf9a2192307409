// Shell-style patterns over SAM file names, for searching across images.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vellonix::formats {

// Whether all of `name` matches `pattern`: `*` any run of bytes, `?` one
// byte, `[abc]`, `[a-z]`, `[!a-z]` or `[^a-z]` one byte of (or not of) the
// set, `\x` the byte x itself. Letters match in either case (A-Z only: the
// SAM's bytes above 127 have no case rule). A `[` without its `]` is itself.
bool MatchesNamePattern(std::string_view pattern, std::string_view name);

// What makes `pattern` one the user cannot have meant, which would match
// nothing or only itself: a `[` without its `]`, a range whose ends are
// the wrong way round, a `\` with nothing after it. Nothing when it is sound.
std::optional<std::string> NamePatternProblem(std::string_view pattern);

}  // namespace vellonix::formats
