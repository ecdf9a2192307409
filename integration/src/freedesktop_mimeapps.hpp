// Which application opens a file type, by the freedesktop MIME-apps rules
// as GLib and KDE apply them: the [Default Applications] of every
// mimeapps.list (the user's first, then the system's), then the
// associations ([Added Associations] and the desktop entries' own types in
// each folder's mimeinfo.cache) less the [Removed Associations] of the
// lists before them; the first of these that is installed and can start
// its program wins.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "freedesktop_files.hpp"

namespace vellonix::integration::freedesktop {

// The file that the desktop file id names: in the user's applications,
// else the first system folder that has it (subfolders count, "a-b.desktop"
// may be "a/b.desktop"). Empty when there is none.
std::filesystem::path FindDesktopEntry(const FreedesktopPlaces& places, std::string_view id);

// Whether the entry can start its program: an application, not hidden,
// its TryExec and Exec programs found. Desktops ignore it otherwise.
bool Launchable(const FreedesktopPlaces& places, const std::filesystem::path& entry);

// The desktop file id of the application that opens `type`; nothing when
// none does. `userList`, when given, stands in for the text of the user's
// mimeapps.list.
std::optional<std::string> DefaultApplication(const FreedesktopPlaces& places, std::string_view type,
                                              std::optional<std::string_view> userList = std::nullopt);

// The user's own mimeapps.list, the one the ties edit.
std::filesystem::path UserMimeappsList(const FreedesktopPlaces& places);

}  // namespace vellonix::integration::freedesktop
