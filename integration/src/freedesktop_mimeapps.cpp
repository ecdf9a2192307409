#include "freedesktop_mimeapps.hpp"

#include <algorithm>
#include <vector>

#include "freedesktop_text.hpp"

namespace vellonix::integration::freedesktop {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kEntryGroup = "Desktop Entry";

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

// One folder of the lookup: a configuration folder, or an applications
// folder with its desktop entries.
struct LookupFolder {
  fs::path Folder;
  bool Applications = false;
};

std::vector<LookupFolder> LookupFolders(const FreedesktopPlaces& places) {
  std::vector<LookupFolder> folders{{places.ConfigHome, false}};
  for (const fs::path& dir : places.ConfigDirs) folders.push_back({dir, false});
  folders.push_back({places.DataHome / "applications", true});
  for (const fs::path& dir : places.DataDirs) folders.push_back({dir / "applications", true});
  return folders;
}

// What a folder's lists say about one type, the desktop-specific lists
// before the common one.
struct TypeLists {
  std::vector<std::string> Defaults;
  std::vector<std::string> Added;
  std::vector<std::string> Removed;
};

void Append(std::vector<std::string>& to, const std::optional<std::string>& value) {
  for (std::string& id : SplitList(value.value_or(""))) {
    if (!Contains(to, id)) to.push_back(std::move(id));
  }
}

TypeLists ListsFor(const FreedesktopPlaces& places, const LookupFolder& folder, std::string_view type,
                   std::optional<std::string_view> userList) {
  TypeLists lists;
  std::vector<std::string> names;
  for (const std::string& desktop : places.Desktops) names.push_back(desktop + "-mimeapps.list");
  names.emplace_back("mimeapps.list");
  for (const std::string& name : names) {
    const fs::path file = folder.Folder / name;
    const std::optional<std::string> text =
        userList && file == UserMimeappsList(places) ? std::optional<std::string>(*userList) : ReadFile(file);
    if (!text) continue;
    Append(lists.Defaults, KeyValue(*text, "Default Applications", type));
    Append(lists.Added, KeyValue(*text, "Added Associations", type));
    Append(lists.Removed, KeyValue(*text, "Removed Associations", type));
  }
  if (folder.Applications) {
    // The folder's own entries that declare the type, as its desktop
    // database lists them; a removal in the same folder takes them back.
    if (const auto cache = ReadFile(folder.Folder / "mimeinfo.cache")) {
      for (const std::string& id : SplitList(KeyValue(*cache, "MIME Cache", type).value_or(""))) {
        if (!Contains(lists.Removed, id) && !Contains(lists.Added, id)) lists.Added.push_back(id);
      }
    }
  }
  return lists;
}

// The desktop file ids' files: "a-b-c.desktop" may be a-b-c.desktop,
// a/b-c.desktop, a-b/c.desktop or a/b/c.desktop.
fs::path FindIn(const fs::path& folder, std::string_view id) {
  if (IsFile(folder / id)) return folder / id;
  for (auto dash = id.find('-'); dash != std::string_view::npos; dash = id.find('-', dash + 1)) {
    if (dash == 0) continue;
    std::error_code ignored;
    const fs::path sub = folder / id.substr(0, dash);
    if (!fs::is_directory(sub, ignored)) continue;
    if (fs::path found = FindIn(sub, id.substr(dash + 1)); !found.empty()) return found;
  }
  return {};
}

// An id that an applications folder holds is hidden from every folder
// after it, whatever its file says.
bool Masked(const std::vector<LookupFolder>& folders, std::size_t index, const std::string& id) {
  for (std::size_t i = 0; i < index; ++i) {
    if (folders[i].Applications && !FindIn(folders[i].Folder, id).empty()) return true;
  }
  return false;
}

}  // namespace

fs::path UserMimeappsList(const FreedesktopPlaces& places) { return places.ConfigHome / "mimeapps.list"; }

fs::path FindDesktopEntry(const FreedesktopPlaces& places, std::string_view id) {
  for (const LookupFolder& folder : LookupFolders(places)) {
    if (!folder.Applications) continue;
    if (fs::path found = FindIn(folder.Folder, id); !found.empty()) return found;
  }
  return {};
}

bool Launchable(const FreedesktopPlaces& places, const fs::path& entry) {
  const auto text = ReadFile(entry);
  if (!text) return false;
  const auto value = [&](std::string_view key) { return KeyValue(*text, kEntryGroup, key); };
  if (value("Type") != "Application" || value("Hidden") == "true") return false;
  if (const auto tryExec = value("TryExec"); tryExec && !FindProgram(places, UnescapeValue(*tryExec))) return false;
  const auto exec = value("Exec");
  return exec && FindProgram(places, ExecProgram(*exec));
}

std::optional<std::string> DefaultApplication(const FreedesktopPlaces& places, std::string_view type,
                                              std::optional<std::string_view> userList) {
  const std::vector<LookupFolder> folders = LookupFolders(places);
  std::vector<TypeLists> lists;
  for (const LookupFolder& folder : folders) lists.push_back(ListsFor(places, folder, type, userList));

  std::vector<std::string> candidates;
  for (const TypeLists& folder : lists) {
    for (const std::string& id : folder.Defaults) {
      if (!Contains(candidates, id)) candidates.push_back(id);
    }
  }
  std::vector<std::string> blocked;
  for (std::size_t i = 0; i < folders.size(); ++i) {
    const auto usable = [&](const std::string& id) {
      return !Masked(folders, i, id) && !Contains(blocked, id) && !Contains(candidates, id);
    };
    for (const std::string& id : lists[i].Added) {
      if (usable(id)) candidates.push_back(id);
    }
    for (const std::string& id : lists[i].Removed) {
      if (usable(id)) blocked.push_back(id);
    }
  }
  for (const std::string& id : candidates) {
    const fs::path entry = FindDesktopEntry(places, id);
    if (!entry.empty() && Launchable(places, entry)) return id;
  }
  return std::nullopt;
}

}  // namespace vellonix::integration::freedesktop
