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

// `text` with `key` in `[group]` set to `value` (the value replaced in
// place, or a line added after the group's last entry, the group added at
// the end when missing), or the line removed when `value` is nothing.
// Every other line, comments and blank lines included, stays as it was.
std::string WithKeyValue(std::string_view text, std::string_view group, std::string_view key,
                         std::optional<std::string_view> value);

// `text` without `[group]` when nothing but blank lines is left in it, and
// without the blank line that separated it from the group before.
std::string WithoutEmptyGroup(std::string_view text, std::string_view group);

// A value list ("a.desktop;b.desktop;") split into its items.
std::vector<std::string> SplitList(std::string_view value);
// The list with `item` first and nowhere else; the other items stay as
// they were written, so that taking `item` out again restores the value.
std::string WithItemFirst(std::string_view value, std::string_view item);
// The list without `item`, the rest as written; nothing when it is empty.
std::optional<std::string> WithoutItem(std::string_view value, std::string_view item);

// Whether `text` can be written into a desktop entry at all: valid UTF-8
// without control characters.
bool FitsKeyFile(std::string_view text);

// A string value as a key file stores it (backslashes doubled).
std::string EscapeValue(std::string_view text);

// One argument of an Exec key as it stands in the file: quoted when it
// holds a reserved character, percent signs doubled, then escaped as a
// string value. The caller checks FitsKeyFile first.
std::string ExecArgument(std::string_view argument);

// A string value as it reads (its escapes undone).
std::string UnescapeValue(std::string_view value);

// The program an Exec value starts: its first argument, unquoted.
std::string ExecProgram(std::string_view exec);

// A word for the POSIX shell, in single quotes.
std::string ShellWord(std::string_view text);

// The folder that user-dirs.dirs gives for `name` ("XDG_DESKTOP_DIR"),
// "$HOME" expanded to `home`; nothing when it gives none or an unusable one.
std::optional<std::string> UserDir(std::string_view userDirs, std::string_view name, std::string_view home);

}  // namespace vellonix::integration::freedesktop
