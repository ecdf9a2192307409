#include "freedesktop_shell_integration.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <system_error>

#include "freedesktop_mimeapps.hpp"
#include "freedesktop_text.hpp"

namespace vellonix::integration {

namespace freedesktop {
// The installation's own files (desktop/, the program's icons), built in.
extern const std::string_view kProgramEntryTemplate;
extern const std::string_view kMimePackage;
extern const std::string_view kProgramIcon;
extern const std::string_view kFileIcon1;
extern const std::string_view kFileIcon2;
}  // namespace freedesktop

namespace {

namespace fs = std::filesystem;
using namespace freedesktop;

constexpr std::string_view kAppId = VELLONIX_APP_ID;
constexpr std::array<std::string_view, 2> kTypes{"application/x-sam-mgt-disk-image",
                                                 "application/x-sam-sad-disk-image"};
constexpr std::string_view kDefaults = "Default Applications";
constexpr std::string_view kRemoved = "Removed Associations";
constexpr std::string_view kEntryGroup = "Desktop Entry";
// The program group, shared with any other SAM Coupé program that joins it.
constexpr std::string_view kGroupName = "sam-coupe";
constexpr std::string_view kGroupDirectoryFile = "sam-coupe.directory";
constexpr std::string_view kSendToName = "Open in SAM Vellonix";
// The ties' own files carry this after the application id, so that they
// never take the name of a file an installation puts there.
constexpr std::string_view kTiesSuffix = "-options";
// What update-mime-database writes beside the packages it reads.
constexpr std::array<std::string_view, 12> kMimeDatabaseFiles{
    "XMLnamespaces", "aliases", "generic-icons", "globs", "globs2", "icons",
    "magic", "mime.cache", "subclasses", "treemagic", "types", "version"};

std::string Id(std::string_view suffix) { return std::string(kAppId) + std::string(suffix); }
const std::string kInstalledId = Id(".desktop");
const std::string kTiesId = Id(std::string(kTiesSuffix) + ".desktop");
std::string GroupEntryId() { return std::string(kGroupName) + '-' + Id(".desktop"); }

// The three icons the Options dialog chooses from; index 0 is the
// program's. Installed under the names of InstalledIconName, placed by the
// ties under TiesIconName where they are not.
struct ChoosableIcon {
  std::string_view Picture;
  std::string_view Context;
};
ChoosableIcon Choosable(std::size_t index) {
  const std::array<ChoosableIcon, kIconCount> icons{
      {{kProgramIcon, "apps"}, {kFileIcon1, "mimetypes"}, {kFileIcon2, "mimetypes"}}};
  return icons[std::min<std::size_t>(index, kIconCount - 1)];
}
std::string InstalledIconName(std::size_t index) {
  return index == 0 ? Id("") : Id("-diskimage-" + std::to_string(index));
}
std::string TiesIconName(std::size_t index) {
  return Id(std::string(kTiesSuffix) + (index == 0 ? "" : "-diskimage-" + std::to_string(index)));
}

// The override that hides the installed entry for this user.
std::string MenuOverride() {
  return "# Hides the installed SAM Coupé Vellonix from this user's menus (Options: Start menu).\n"
         "[Desktop Entry]\nType=Application\nName=SAM Coupé Vellonix\nExec=vellonix\nHidden=true\n";
}

bool HasValue(const std::optional<std::string>& text, std::string_view key, std::string_view value) {
  return text && KeyValue(*text, kEntryGroup, key) == value;
}

// `text` (a mimeapps.list) with `id` first in, or taken out of, `group`'s
// list for `type`; the list's other items stay as they were written.
std::string WithListItem(const std::string& text, std::string_view group, std::string_view type,
                         const std::string& id, bool first) {
  const std::optional<std::string> old = KeyValue(text, group, type);
  const std::vector<std::string> items = SplitList(old.value_or(""));
  const bool present = std::find(items.begin(), items.end(), id) != items.end();
  if (first && !items.empty() && items.front() == id) return text;
  if (!first && !present) return text;
  const std::optional<std::string> value =
      first ? std::optional(WithItemFirst(old.value_or(""), id)) : WithoutItem(*old, id);
  return WithKeyValue(text, group, type, value);
}

}  // namespace

FreedesktopShellIntegration::FreedesktopShellIntegration(FreedesktopPlaces places, std::string programPath,
                                                         ToolRunner runTool)
    : places_(std::move(places)), program_(std::move(programPath)), runTool_(std::move(runTool)) {}

fs::path FreedesktopShellIntegration::DesktopFolder() const {
  if (const auto userDirs = ReadFile(places_.ConfigHome / "user-dirs.dirs")) {
    if (const auto folder = UserDir(*userDirs, "XDG_DESKTOP_DIR", places_.Home.string())) return *folder;
  }
  return places_.Home / "Desktop";
}

fs::path FreedesktopShellIntegration::TiesEntry() const { return places_.DataHome / "applications" / kTiesId; }
fs::path FreedesktopShellIntegration::TiesPackage() const {
  return places_.DataHome / "mime/packages" / Id(std::string(kTiesSuffix) + ".xml");
}
fs::path FreedesktopShellIntegration::ServiceMenu() const {
  return places_.DataHome / "kio/servicemenus" / Id(".desktop");
}
fs::path FreedesktopShellIntegration::NautilusScript() const {
  return places_.DataHome / "nautilus/scripts" / kSendToName;
}
fs::path FreedesktopShellIntegration::GroupEntry() const {
  return places_.DataHome / "applications" / kGroupName / Id(".desktop");
}
fs::path FreedesktopShellIntegration::GroupMenu() const {
  return places_.ConfigHome / "menus/applications-merged" / (std::string(kGroupName) + '-' + Id(".menu"));
}
fs::path FreedesktopShellIntegration::GroupDirectory() const {
  return places_.DataHome / "desktop-directories" / kGroupDirectoryFile;
}
fs::path FreedesktopShellIntegration::DataStop() const { return PruneStop(places_, places_.DataHome); }
fs::path FreedesktopShellIntegration::ConfigStop() const { return PruneStop(places_, places_.ConfigHome); }

FreedesktopShellIntegration::Installed FreedesktopShellIntegration::FindInstalled() const {
  Installed installed;
  if (const fs::path user = places_.DataHome / "applications" / kInstalledId; IsFile(user)) {
    installed.User = user;
    installed.UserHides = HasValue(ReadFile(user), "Hidden", "true");
  }
  for (const fs::path& data : places_.DataDirs) {
    if (IsFile(data / "applications" / kInstalledId)) {
      installed.System = data / "applications" / kInstalledId;
      break;
    }
  }
  const fs::path entry = FindDesktopEntry(places_, kInstalledId);
  installed.Usable = !entry.empty() && Launchable(places_, entry);
  return installed;
}

bool FreedesktopShellIntegration::IconInstalled(const std::string& name) const {
  std::vector<fs::path> data{places_.DataHome};
  data.insert(data.end(), places_.DataDirs.begin(), places_.DataDirs.end());
  for (const fs::path& folder : data) {
    for (const std::string_view context : {"apps", "mimetypes"}) {
      const fs::path theme = folder / "icons/hicolor";
      if (IsFile(theme / "scalable" / context / (name + ".svg")) || IsFile(theme / "48x48" / context / (name + ".png"))) {
        return true;
      }
    }
  }
  return false;
}

// Launchers name the installed program icon, else the ties' own.
std::string FreedesktopShellIntegration::ProgramIconName() const {
  return IconInstalled(InstalledIconName(0)) ? InstalledIconName(0) : TiesIconName(0);
}

std::string FreedesktopShellIntegration::TypeIconName(std::uint16_t index) const {
  return IconInstalled(InstalledIconName(index)) ? InstalledIconName(index) : TiesIconName(index);
}

// Defined by a MIME package other than the ties' own: the system's (as its
// database holds it) or one the user installed.
bool FreedesktopShellIntegration::TypeDefinedElsewhere(std::size_t type) const {
  const std::string name(kTypes[type]);
  for (const fs::path& data : places_.DataDirs) {
    if (IsFile(data / "mime" / (name + ".xml"))) return true;
  }
  std::error_code error;
  for (const auto& package : fs::directory_iterator(places_.DataHome / "mime/packages", error)) {
    if (package.path() == TiesPackage() || package.path().extension() != ".xml") continue;
    const auto text = ReadFile(package.path());
    if (text && text->find("type=\"" + name + '"') != std::string::npos) return true;
  }
  return false;
}

// Known to a MIME database, or placed by the ties for a database that
// could not be built.
bool FreedesktopShellIntegration::TypeKnown(std::size_t type) const {
  const std::string name(kTypes[type]);
  if (IsFile(places_.DataHome / "mime" / (name + ".xml")) || TypeDefinedElsewhere(type)) return true;
  const auto package = ReadFile(TiesPackage());
  return package && package->find("type=\"" + name + '"') != std::string::npos;
}

// The icon the ties' package names; without one the types show the
// installation's own, the dialog's starting icon.
std::uint16_t FreedesktopShellIntegration::ChosenIconIndex() const {
  const auto package = ReadFile(TiesPackage());
  for (std::uint16_t index = 0; package && index < kIconCount; ++index) {
    for (const std::string& name : {InstalledIconName(index), TiesIconName(index)}) {
      if (package->find("<icon name=\"" + name + "\"/>") != std::string::npos) return index;
    }
  }
  return kDefaultIconIndex;
}

IntegrationState FreedesktopShellIntegration::Read() {
  IntegrationState state;
  state.IconIndex = ChosenIconIndex();
  for (std::size_t type = 0; type < kTypes.size(); ++type) {
    const auto opener = DefaultApplication(places_, kTypes[type]);
    (type == 0 ? state.Mgt : state.Sad) = TypeKnown(type) && (opener == kInstalledId || opener == kTiesId);
  }
  std::error_code error;
  state.Available[Index(Shortcut::Desktop)] = fs::is_directory(DesktopFolder(), error);
  state[Shortcut::Desktop] = IsFile(DesktopFolder() / Id(".desktop"));
  state.Available[Index(Shortcut::QuickLaunch)] = false;

  const Installed installed = FindInstalled();
  state.Available[Index(Shortcut::StartMenu)] = !installed.PerUser();
  const bool installedShown =
      installed.Usable && !HasValue(ReadFile(FindDesktopEntry(places_, kInstalledId)), "NoDisplay", "true");
  const bool tiesShown = Launchable(places_, TiesEntry()) && !HasValue(ReadFile(TiesEntry()), "NoDisplay", "true");
  state[Shortcut::StartMenu] = installedShown || (!installed.PerUser() && tiesShown);

  state[Shortcut::SendTo] = IsFile(ServiceMenu()) && IsFile(NautilusScript());
  state[Shortcut::ProgramGroup] = IsFile(GroupEntry()) && IsFile(GroupMenu());
  return state;
}

void FreedesktopShellIntegration::Apply(const IntegrationState& state) {
  const bool placesAny = state.Mgt || state.Sad || state[Shortcut::Desktop] || state[Shortcut::StartMenu] ||
                         state[Shortcut::SendTo] || state[Shortcut::ProgramGroup];
  if (placesAny && !FitsKeyFile(program_)) {
    throw IntegrationError("The program's path cannot be written into a desktop entry: " + Quoted(program_));
  }
  try {
    const Installed installed = FindInstalled();
    if (!installed.PerUser()) PlaceMenuOverride(state[Shortcut::StartMenu]);
    PlaceTiesEntry(state);
    PlaceTypes(state);
    PlaceDefaults(state);
    std::error_code error;
    if (fs::is_directory(DesktopFolder(), error)) PlaceDesktopLauncher(state[Shortcut::Desktop]);
    // Quick Launch has no place here: nothing to write or remove.
    PlaceSendTo(state[Shortcut::SendTo]);
    PlaceProgramGroup(state[Shortcut::ProgramGroup]);
    PlaceTiesIcons();
  } catch (...) {
    Refresh();
    throw;
  }
  Refresh();
}

IntegrationLocations FreedesktopShellIntegration::Locations() {
  const Installed installed = FindInstalled();
  IntegrationLocations where;
  where.FileType = (installed.Usable ? FindDesktopEntry(places_, kInstalledId) : TiesEntry()).string();
  where.Mgt = where.Sad = UserMimeappsList(places_).string();
  where.Icon = TiesPackage().string();
  std::error_code error;
  if (fs::is_directory(DesktopFolder(), error)) {
    where.Shortcuts[Index(Shortcut::Desktop)] = (DesktopFolder() / Id(".desktop")).string();
  }
  std::string& menu = where.Shortcuts[Index(Shortcut::StartMenu)];
  if (installed.PerUser()) {
    menu = installed.User.string() + ", installed for this user";
  } else if (!installed.System.empty()) {
    menu = installed.System.string() + (installed.UserHides ? ", hidden by " + installed.User.string() : "");
  } else {
    menu = TiesEntry().string();
  }
  where.Shortcuts[Index(Shortcut::SendTo)] = ServiceMenu().string() + " and " + NautilusScript().string();
  where.Shortcuts[Index(Shortcut::ProgramGroup)] = GroupMenu().string() + " and " + GroupEntry().string();
  return where;
}

std::string FreedesktopShellIntegration::ProgramEntry(bool shownInMenus) const {
  std::string entry(kProgramEntryTemplate);
  entry = WithKeyValue(entry, kEntryGroup, "Exec", ExecArgument(program_) + " %F");
  entry = WithKeyValue(entry, kEntryGroup, "TryExec", EscapeValue(program_));
  entry = WithKeyValue(entry, kEntryGroup, "Icon", ProgramIconName());
  // The types are the user's choice, made in mimeapps.list.
  entry = WithKeyValue(entry, kEntryGroup, "MimeType", std::nullopt);
  if (!shownInMenus) entry = WithKeyValue(entry, kEntryGroup, "NoDisplay", "true");
  return entry;
}

// An installed entry leaves this user's menus through an override that
// hides it, and comes back when that goes; a hidden entry no longer opens
// the types either, so PlaceTiesEntry stands in for it there.
void FreedesktopShellIntegration::PlaceMenuOverride(bool shown) {
  const Installed installed = FindInstalled();
  const fs::path user = places_.DataHome / "applications" / kInstalledId;
  if (shown && installed.UserHides) {
    RemoveFile(user, DataStop());
  } else if (!shown && installed.Usable && installed.User.empty() &&
             !HasValue(ReadFile(installed.System), "NoDisplay", "true")) {
    WriteFile(user, MenuOverride(), false);
  }
}

// The ties' own entry, where no installed one can start the program: the
// menu item when the box asks for one, else kept out of menus for the types.
void FreedesktopShellIntegration::PlaceTiesEntry(const IntegrationState& state) {
  const Installed installed = FindInstalled();
  const bool menu = !installed.PerUser() && state[Shortcut::StartMenu];
  if (!installed.Usable && (menu || state.Mgt || state.Sad)) {
    WriteFile(TiesEntry(), ProgramEntry(menu), false);
  } else {
    RemoveFile(TiesEntry(), DataStop());
  }
}

// The ties' MIME package: for each ticked type, its definition where no
// other package gives one, and the chosen icon where it is not the one
// the type shows anyway.
std::string FreedesktopShellIntegration::TiesPackageText(const IntegrationState& state) const {
  std::string types;
  for (std::size_t type = 0; type < kTypes.size(); ++type) {
    if (!(type == 0 ? state.Mgt : state.Sad)) continue;
    const bool defined = TypeDefinedElsewhere(type);
    if (defined && state.IconIndex == kDefaultIconIndex) continue;
    const std::string open = "<mime-type type=\"" + std::string(kTypes[type]) + "\">";
    const std::string icon = "\n    <icon name=\"" + TypeIconName(state.IconIndex) + "\"/>";
    if (defined) {
      types += "  " + open + icon + "\n  </mime-type>\n";
      continue;
    }
    const std::string_view package = kMimePackage;
    const auto start = package.find(open);
    const auto end = package.find("</mime-type>", start);
    if (start == std::string_view::npos || end == std::string_view::npos) continue;
    types += "  " + open + icon + std::string(package.substr(start + open.size(), end - start - open.size())) +
             "</mime-type>\n";
  }
  if (types.empty()) return "";
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!-- The image types as the Options of SAM Coupé Vellonix set them for this user. -->\n"
         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n" +
         types + "</mime-info>\n";
}

void FreedesktopShellIntegration::PlaceTypes(const IntegrationState& state) {
  const std::string text = TiesPackageText(state);
  if (!text.empty()) {
    mimeChanged_ |= WriteFile(TiesPackage(), text, false);
  } else {
    // The packages folder stays for the database's tool; Refresh tidies.
    mimeChanged_ |= RemoveFile(TiesPackage(), TiesPackage().parent_path());
  }
}

// Each ticked type opens in the program's entry and each unticked one in
// another program's (or none), by the smallest change to the user's
// mimeapps.list; what one box adds, unticking it takes out again.
void FreedesktopShellIntegration::PlaceDefaults(const IntegrationState& state) {
  const fs::path file = UserMimeappsList(places_);
  const std::string before = ReadFile(file).value_or("");
  std::string text = before;
  const std::string handler = FindInstalled().Usable ? kInstalledId : kTiesId;
  for (std::size_t type = 0; type < kTypes.size(); ++type) {
    const std::string_view name = kTypes[type];
    const bool wanted = type == 0 ? state.Mgt : state.Sad;
    const auto opener = [&] { return DefaultApplication(places_, name, text); };
    for (const std::string& id : {kInstalledId, kTiesId}) {
      if (id != handler || !wanted) text = WithListItem(text, kDefaults, name, id, false);
    }
    if (wanted) {
      if (opener() == handler) continue;
      text = WithListItem(text, kRemoved, name, handler, false);
      if (opener() == handler) continue;
      text = WithListItem(text, kDefaults, name, handler, true);
    } else {
      // What an installed entry declares for itself (or a system list
      // makes its default) is taken back for this user.
      for (auto id = opener(); id == kInstalledId || id == kTiesId; id = opener()) {
        const std::string taken = WithListItem(text, kRemoved, name, *id, true);
        if (taken == text) break;
        text = taken;
      }
    }
  }
  text = WithoutEmptyGroup(WithoutEmptyGroup(text, kDefaults), kRemoved);
  if (text == before) return;
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
    RemoveFile(file, ConfigStop());
  } else {
    WriteFile(file, text, false);
  }
}

void FreedesktopShellIntegration::PlaceDesktopLauncher(bool ticked) {
  const fs::path launcher = DesktopFolder() / Id(".desktop");
  if (ticked) {
    WriteFile(launcher, ProgramEntry(true), true);
  } else {
    RemoveFile(launcher, DesktopFolder());
  }
}

// The nearest thing to Send To: an action on image files in Dolphin (its
// service menus must be executable) and a script in Nautilus' Scripts menu.
void FreedesktopShellIntegration::PlaceSendTo(bool ticked) {
  if (!ticked) {
    RemoveFile(ServiceMenu(), DataStop());
    RemoveFile(NautilusScript(), DataStop());
    return;
  }
  std::string types;
  for (const std::string_view type : kTypes) types += std::string(type) + ';';
  WriteFile(ServiceMenu(),
            "[Desktop Entry]\nType=Service\nX-KDE-ServiceTypes=KonqPopupMenu/Plugin\nMimeType=" + types +
                "\nActions=open;\n\n[Desktop Action open]\nName=" + std::string(kSendToName) +
                "\nIcon=" + ProgramIconName() + "\nExec=" + ExecArgument(program_) + " %F\n",
            true);
  WriteFile(NautilusScript(),
            "#!/bin/sh\n# Opens the selected files in SAM Coupé Vellonix.\nexec " + ShellWord(program_) + " \"$@\"\n",
            true);
}

// A "SAM Coupé" submenu: a directory entry naming it, a menu merge file of
// our own that puts our entry into it, and that entry (kept out of the
// other menus, which the main entry serves). The submenu goes only when
// nothing else is in it.
void FreedesktopShellIntegration::PlaceProgramGroup(bool ticked) {
  if (ticked) {
    if (!IsFile(GroupDirectory())) WriteFile(GroupDirectory(), "[Desktop Entry]\nType=Directory\nName=SAM Coupé\n", false);
    std::string entry = ProgramEntry(true);
    entry = WithKeyValue(entry, kEntryGroup, "Categories", std::nullopt);
    WriteFile(GroupEntry(), entry, false);
    WriteFile(GroupMenu(),
              "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
              " \"http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd\">\n"
              "<Menu>\n  <Name>Applications</Name>\n  <Menu>\n    <Name>SAM Coupé</Name>\n"
              "    <Directory>" + std::string(kGroupDirectoryFile) + "</Directory>\n"
              "    <Include>\n      <Filename>" + GroupEntryId() + "</Filename>\n    </Include>\n"
              "  </Menu>\n</Menu>\n",
              false);
    return;
  }
  RemoveFile(GroupEntry(), DataStop());
  RemoveFile(GroupMenu(), ConfigStop());
  std::error_code error;
  if (fs::exists(GroupEntry().parent_path(), error)) return;
  const std::string directoryTag = "<Directory>" + std::string(kGroupDirectoryFile) + "</Directory>";
  for (const auto& menu : fs::directory_iterator(GroupMenu().parent_path(), error)) {
    const auto text = ReadFile(menu.path());
    if (text && text->find(directoryTag) != std::string::npos) return;
  }
  RemoveFile(GroupDirectory(), DataStop());
}

// The ties' own icons, each present exactly while a file of the ties names
// it: where nothing installed the program's icons, the launchers and the
// types still show them.
void FreedesktopShellIntegration::PlaceTiesIcons() {
  std::string names;
  for (const fs::path& file : {TiesEntry(), DesktopFolder() / Id(".desktop"), ServiceMenu(), GroupEntry(), TiesPackage()}) {
    names += ReadFile(file).value_or("");
  }
  for (std::size_t index = 0; index < kIconCount; ++index) {
    const std::string name = TiesIconName(index);
    const ChoosableIcon icon = Choosable(index);
    const fs::path file = places_.DataHome / "icons/hicolor/scalable" / icon.Context / (name + ".svg");
    if (names.find("Icon=" + name + '\n') != std::string::npos ||
        names.find("<icon name=\"" + name + "\"/>") != std::string::npos) {
      iconsChanged_ |= WriteFile(file, icon.Picture, false);
    } else {
      iconsChanged_ |= RemoveFile(file, DataStop());
    }
  }
}

// The desktop's caches of what was written, rebuilt when their tools exist.
// A MIME database left with no package at all goes with its last package.
void FreedesktopShellIntegration::Refresh() {
  const fs::path mime = places_.DataHome / "mime";
  if (mimeChanged_) {
    runTool_({"update-mime-database", mime.string()});
    std::error_code error;
    bool packages = false;
    for (const auto& package : fs::directory_iterator(mime / "packages", error)) {
      packages = packages || package.path().extension() == ".xml";
    }
    if (!packages) {
      for (const std::string_view name : kMimeDatabaseFiles) RemoveFile(mime / name, mime);
      // The types' own files, one folder per media type.
      std::vector<fs::path> generated;
      for (const auto& file : fs::recursive_directory_iterator(mime, error)) {
        if (file.path().extension() == ".xml" && file.path().parent_path().parent_path() == mime) {
          generated.push_back(file.path());
        }
      }
      for (const fs::path& file : generated) RemoveFile(file, mime);
      std::vector<fs::path> folders;
      for (const auto& folder : fs::directory_iterator(mime, error)) folders.push_back(folder.path());
      for (const fs::path& folder : folders) RemoveEmptyFolders(folder, mime);
      RemoveEmptyFolders(mime, DataStop());
    }
  }
  const fs::path theme = places_.DataHome / "icons/hicolor";
  if (iconsChanged_ && IsFile(theme / "icon-theme.cache")) runTool_({"gtk-update-icon-cache", "-q", "-t", "-f", theme.string()});
  mimeChanged_ = iconsChanged_ = false;
}

}  // namespace vellonix::integration
