// The text formats of the freedesktop conventions that the program edits
// in a user's home: key files (desktop entries, mimeapps.list), the Exec
// key's quoting, user-dirs.dirs and shell words. Pure text in, text out.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellonix::integration::freedesktop {

// A key file's value of `key` in `[group]`, its escapes left as they are;
// nothing when the group or the key is missing. "Name[de]" is not "Name".
std::optional<std::string> KeyValue(std::string_view text, std::string_view group, std::string_view key);

// `text` with `key` in `[group]` set to `value` (the line replaced in place,
// or added after the group's last entry, the group added at the end when
// missing), or removed when `value` is nothing. Every other line, comments
// and blank lines included, stays as it was.
std::string WithKeyValue(std::string_view text, std::string_view group, std::string_view key,
                         std::optional<std::string_view> value);

// A value list ("a.desktop;b.desktop;") split and joined.
std::vector<std::string> SplitList(std::string_view value);
std::string JoinList(const std::vector<std::string>& items);

// Whether `text` can be written into a desktop entry at all: valid UTF-8
// without control characters.
bool FitsKeyFile(std::string_view text);

// A string value as a key file stores it (backslashes doubled).
std::string EscapeValue(std::string_view text);

// One argument of an Exec key as it stands in the file: quoted when it
// holds a reserved character, percent signs doubled, then escaped as a
// string value. The caller checks FitsKeyFile first.
std::string ExecArgument(std::string_view argument);

// A word for the POSIX shell, in single quotes.
std::string ShellWord(std::string_view text);

// The folder that user-dirs.dirs gives for `name` ("XDG_DESKTOP_DIR"),
// "$HOME" expanded to `home`; nothing when it gives none or an unusable one.
std::optional<std::string> UserDir(std::string_view userDirs, std::string_view name, std::string_view home);

}  // namespace vellonix::integration::freedesktop
