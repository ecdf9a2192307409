#include "freedesktop_shell_integration.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <system_error>

#include "freedesktop_text.hpp"
#include "vellonix/core/host_file.hpp"

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
constexpr std::string_view kEntryGroup = "Desktop Entry";
// The program group, shared with any other SAM Coupé program that joins it.
constexpr std::string_view kGroupName = "sam-coupe";
constexpr std::string_view kGroupDirectoryFile = "sam-coupe.directory";
constexpr std::string_view kSendToName = "Open in SAM Vellonix";

std::string Id(std::string_view suffix) { return std::string(kAppId) + std::string(suffix); }
std::string GroupEntryId() { return std::string(kGroupName) + '-' + Id(".desktop"); }

// The three icons the Options dialog chooses from; index 0 is the program's.
std::string_view Icon(std::size_t index) {
  const std::array<std::string_view, kIconCount> icons{kProgramIcon, kFileIcon1, kFileIcon2};
  return icons[std::min<std::size_t>(index, kIconCount - 1)];
}

std::string IconName(std::string_view type) {
  std::string name(type);
  std::replace(name.begin(), name.end(), '/', '-');
  return name;
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

bool IsFile(const fs::path& path) {
  std::error_code ignored;
  return fs::is_regular_file(path, ignored);
}

// A file's bytes; nothing when there is no such file.
std::optional<std::string> ReadFile(const fs::path& path) {
  if (!IsFile(path)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.is_open() || in.bad()) throw IntegrationError("Cannot read " + Quoted(path) + ": " + std::strerror(errno));
  return text;
}

// Writes `text` to `path` unless it holds it already, making the folders
// it needs. The save is the program's own safe one (a new file flushed and
// renamed over the old, so a failed write never leaves half a file; a link,
// such as a mimeapps.list kept elsewhere, is written through). Returns
// whether anything changed.
bool WriteFile(const fs::path& path, std::string_view text, bool executable) {
  std::error_code error;
  const fs::perms mode = executable ? fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                          fs::perms::others_read | fs::perms::others_exec
                                    : fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                          fs::perms::others_read;
  if (ReadFile(path) == text && (fs::status(path, error).permissions() & fs::perms::owner_exec) ==
                                    (mode & fs::perms::owner_exec)) {
    return false;
  }
  const auto fail = [&](const std::string& why) { throw IntegrationError("Cannot write " + Quoted(path) + ": " + why); };
  fs::create_directories(path.parent_path(), error);
  if (error) fail(error.message());
  try {
    core::WriteFileSafely(path.string(), {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  } catch (const core::HostIoError& failure) {
    fail(failure.code().message());
  }
  fs::permissions(path, mode, error);
  if (error) fail(error.message());
  return true;
}

// Returns whether there was a file to remove.
bool RemoveFile(const fs::path& path) {
  if (!IsFile(path)) return false;
  std::error_code error;
  if (!fs::remove(path, error) && error) throw IntegrationError("Cannot remove " + Quoted(path) + ": " + error.message());
  return true;
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

fs::path FreedesktopShellIntegration::ApplicationEntry() const {
  return places_.DataHome / "applications" / Id(".desktop");
}
fs::path FreedesktopShellIntegration::MimeappsList() const { return places_.ConfigHome / "mimeapps.list"; }
fs::path FreedesktopShellIntegration::TypeIcon(int type) const {
  return places_.DataHome / "icons/hicolor/scalable/mimetypes" / (IconName(kTypes[static_cast<std::size_t>(type)]) + ".svg");
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

// Known to the user's MIME database: compiled there from any package, or
// our package placed and waiting for a database that could not be built.
bool FreedesktopShellIntegration::TypeKnown(int type) const {
  const std::string_view name = kTypes[static_cast<std::size_t>(type)];
  for (const fs::path& data : places_.DataDirs) {
    if (IsFile(data / "mime" / (std::string(name) + ".xml"))) return true;
  }
  if (IsFile(places_.DataHome / "mime" / (std::string(name) + ".xml"))) return true;
  const auto package = ReadFile(places_.DataHome / "mime/packages" / Id(".xml"));
  return package && package->find("type=\"" + std::string(name) + '"') != std::string::npos;
}

bool FreedesktopShellIntegration::IsOurDefault(int type) const {
  const auto mimeapps = ReadFile(MimeappsList());
  if (!mimeapps) return false;
  const auto value = KeyValue(*mimeapps, kDefaults, kTypes[static_cast<std::size_t>(type)]);
  const std::vector<std::string> apps = SplitList(value.value_or(""));
  return !apps.empty() && apps.front() == Id(".desktop");
}

// The index of the icon the types show, told by the icon itself; anything
// else there (or nothing) reads as the dialog's starting icon.
std::uint16_t FreedesktopShellIntegration::InstalledIconIndex() const {
  for (int type = 0; type < 2; ++type) {
    const auto svg = ReadFile(TypeIcon(type));
    if (!svg) continue;
    for (std::uint16_t index = 0; index < kIconCount; ++index) {
      if (*svg == Icon(index)) return index;
    }
  }
  return kDefaultIconIndex;
}

IntegrationState FreedesktopShellIntegration::Read() {
  IntegrationState state;
  state.IconIndex = InstalledIconIndex();
  state.Mgt = IsOurDefault(0) && TypeKnown(0);
  state.Sad = IsOurDefault(1) && TypeKnown(1);
  state[Shortcut::Desktop] = IsFile(DesktopFolder() / Id(".desktop"));
  state.Available[Index(Shortcut::QuickLaunch)] = false;
  const auto entry = ReadFile(ApplicationEntry());
  state[Shortcut::StartMenu] = entry && KeyValue(*entry, kEntryGroup, "NoDisplay") != "true";
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
    if (state.Mgt || state.Sad) PlaceTypes(state.IconIndex);
    PlaceApplicationEntry(state);
    PlaceDefaults(state);
    PlaceDesktopLauncher(state[Shortcut::Desktop]);
    // Quick Launch has no place here: nothing to write or remove.
    PlaceSendTo(state[Shortcut::SendTo]);
    PlaceProgramGroup(state[Shortcut::ProgramGroup]);
  } catch (...) {
    Refresh();
    throw;
  }
  Refresh();
}

IntegrationLocations FreedesktopShellIntegration::Locations() {
  IntegrationLocations where;
  where.FileType = ApplicationEntry().string();
  where.Mgt = where.Sad = MimeappsList().string();
  where.Icon = TypeIcon(0).string() + " and " + TypeIcon(1).string();
  where.Shortcuts[Index(Shortcut::Desktop)] = (DesktopFolder() / Id(".desktop")).string();
  where.Shortcuts[Index(Shortcut::StartMenu)] = ApplicationEntry().string();
  where.Shortcuts[Index(Shortcut::SendTo)] = ServiceMenu().string() + " and " + NautilusScript().string();
  where.Shortcuts[Index(Shortcut::ProgramGroup)] = GroupMenu().string() + " and " + GroupEntry().string();
  return where;
}

std::string FreedesktopShellIntegration::ProgramEntry(bool shownInMenus) const {
  std::string entry(kProgramEntryTemplate);
  entry = WithKeyValue(entry, kEntryGroup, "Exec", ExecArgument(program_) + " %F");
  entry = WithKeyValue(entry, kEntryGroup, "TryExec", EscapeValue(program_));
  if (!shownInMenus) entry = WithKeyValue(entry, kEntryGroup, "NoDisplay", "true");
  return entry;
}

// The type definitions when the system has none, and the chosen icon under
// the types' names. Fixed-size pictures of the same names in the user's
// theme (a per-user install draws them) would hide the choice, so they go.
void FreedesktopShellIntegration::PlaceTypes(std::uint16_t iconIndex) {
  bool systemKnows = true;
  for (const std::string_view type : kTypes) {
    systemKnows = systemKnows && std::any_of(places_.DataDirs.begin(), places_.DataDirs.end(), [&](const fs::path& data) {
                    return IsFile(data / "mime" / (std::string(type) + ".xml"));
                  });
  }
  if (!systemKnows) mimeChanged_ |= WriteFile(places_.DataHome / "mime/packages" / Id(".xml"), kMimePackage, false);

  const fs::path theme = places_.DataHome / "icons/hicolor";
  for (int type = 0; type < 2; ++type) {
    iconsChanged_ |= WriteFile(TypeIcon(type), Icon(iconIndex), false);
    std::error_code error;
    for (const auto& size : fs::directory_iterator(theme, error)) {
      if (size.path().filename() == "scalable") continue;
      iconsChanged_ |= RemoveFile(size.path() / "mimetypes" / (IconName(kTypes[static_cast<std::size_t>(type)]) + ".png"));
    }
  }
}

// The program's desktop entry opens the images and is the Start menu item;
// while the types need it and the menu does not, it stays out of menus.
void FreedesktopShellIntegration::PlaceApplicationEntry(const IntegrationState& state) {
  const bool shown = state[Shortcut::StartMenu];
  if (shown || state.Mgt || state.Sad) {
    WriteFile(ApplicationEntry(), ProgramEntry(shown), false);
    PlaceProgramIcon();
  } else {
    RemoveFile(ApplicationEntry());
  }
}

// Our entry goes first in each ticked type's list, ahead of whatever was
// there, and leaves it again when unticked: other defaults, other types and
// the file's other groups stay as they are.
void FreedesktopShellIntegration::PlaceDefaults(const IntegrationState& state) {
  const std::string ours = Id(".desktop");
  const std::string before = ReadFile(MimeappsList()).value_or("");
  std::string text = before;
  for (std::size_t type = 0; type < kTypes.size(); ++type) {
    const std::optional<std::string> old = KeyValue(text, kDefaults, kTypes[type]);
    std::vector<std::string> apps = SplitList(old.value_or(""));
    std::erase(apps, ours);
    if (type == 0 ? state.Mgt : state.Sad) apps.insert(apps.begin(), ours);
    const std::optional<std::string> value = apps.empty() ? std::nullopt : std::optional(JoinList(apps));
    if (value != old) text = WithKeyValue(text, kDefaults, kTypes[type], value);
  }
  if (text != before) WriteFile(MimeappsList(), text, false);
}

void FreedesktopShellIntegration::PlaceDesktopLauncher(bool ticked) {
  const fs::path launcher = DesktopFolder() / Id(".desktop");
  if (ticked) {
    WriteFile(launcher, ProgramEntry(true), true);
    PlaceProgramIcon();
  } else {
    RemoveFile(launcher);
  }
}

// The nearest thing to Send To: an action on image files in Dolphin (its
// service menus must be executable) and a script in Nautilus' Scripts menu.
void FreedesktopShellIntegration::PlaceSendTo(bool ticked) {
  if (!ticked) {
    RemoveFile(ServiceMenu());
    RemoveFile(NautilusScript());
    return;
  }
  std::string types;
  for (const std::string_view type : kTypes) types += std::string(type) + ';';
  WriteFile(ServiceMenu(),
            "[Desktop Entry]\nType=Service\nX-KDE-ServiceTypes=KonqPopupMenu/Plugin\nMimeType=" + types +
                "\nActions=open;\n\n[Desktop Action open]\nName=" + std::string(kSendToName) + "\nIcon=" + Id("") +
                "\nExec=" + ExecArgument(program_) + " %F\n",
            true);
  WriteFile(NautilusScript(),
            "#!/bin/sh\n# Opens the selected files in SAM Coupé Vellonix.\nexec " + ShellWord(program_) + " \"$@\"\n",
            true);
  PlaceProgramIcon();
}

// A "SAM Coupé" submenu: a directory entry naming it, a menu merge file of
// our own that puts our entry into it, and that entry (kept out of the
// other menus and of the type lists, which the main entry serves). The
// submenu goes only when nothing else is in it.
void FreedesktopShellIntegration::PlaceProgramGroup(bool ticked) {
  const fs::path groupFolder = GroupEntry().parent_path();
  if (ticked) {
    if (!IsFile(GroupDirectory())) WriteFile(GroupDirectory(), "[Desktop Entry]\nType=Directory\nName=SAM Coupé\n", false);
    std::string entry = ProgramEntry(true);
    entry = WithKeyValue(entry, kEntryGroup, "Categories", std::nullopt);
    entry = WithKeyValue(entry, kEntryGroup, "MimeType", std::nullopt);
    WriteFile(GroupEntry(), entry, false);
    WriteFile(GroupMenu(),
              "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
              " \"http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd\">\n"
              "<Menu>\n  <Name>Applications</Name>\n  <Menu>\n    <Name>SAM Coupé</Name>\n"
              "    <Directory>" + std::string(kGroupDirectoryFile) + "</Directory>\n"
              "    <Include>\n      <Filename>" + GroupEntryId() + "</Filename>\n    </Include>\n"
              "  </Menu>\n</Menu>\n",
              false);
    PlaceProgramIcon();
    return;
  }
  RemoveFile(GroupEntry());
  RemoveFile(GroupMenu());
  std::error_code error;
  fs::remove(groupFolder, error);  // only when empty
  if (fs::exists(groupFolder, error)) return;
  const std::string directoryTag = "<Directory>" + std::string(kGroupDirectoryFile) + "</Directory>";
  for (const auto& menu : fs::directory_iterator(GroupMenu().parent_path(), error)) {
    const auto text = ReadFile(menu.path());
    if (text && text->find(directoryTag) != std::string::npos) return;
  }
  RemoveFile(GroupDirectory());
}

// Launchers show the program's icon by its name; a program installed
// where the desktop does not look for icons still gets one.
void FreedesktopShellIntegration::PlaceProgramIcon() {
  std::vector<fs::path> data{places_.DataHome};
  data.insert(data.end(), places_.DataDirs.begin(), places_.DataDirs.end());
  for (const fs::path& folder : data) {
    if (IsFile(folder / "icons/hicolor/scalable/apps" / Id(".svg")) ||
        IsFile(folder / "icons/hicolor/48x48/apps" / Id(".png"))) {
      return;
    }
  }
  iconsChanged_ |= WriteFile(places_.DataHome / "icons/hicolor/scalable/apps" / Id(".svg"), kProgramIcon, false);
}

// The desktop's caches of what was written, rebuilt when their tools exist.
void FreedesktopShellIntegration::Refresh() {
  std::error_code error;
  if (mimeChanged_) runTool_({"update-mime-database", (places_.DataHome / "mime").string()});
  if (fs::is_directory(places_.DataHome / "applications", error)) {
    runTool_({"update-desktop-database", "-q", (places_.DataHome / "applications").string()});
  }
  const fs::path theme = places_.DataHome / "icons/hicolor";
  if (iconsChanged_ && IsFile(theme / "icon-theme.cache")) runTool_({"gtk-update-icon-cache", "-q", "-t", "-f", theme.string()});
  mimeChanged_ = iconsChanged_ = false;
}

}  // namespace vellonix::integration
