#include "vellonix/integration/registry_shell_integration.hpp"

#include <algorithm>
#include <utility>

namespace vellonix::integration {

namespace {

constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kMapGroupsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";
constexpr const char* kMgtKey = ".mgt";
constexpr const char* kSadKey = ".sad";

std::string CommandKey() { return std::string(kFileTypeKey) + "\\Shell\\open\\command"; }
std::string DefaultIconKey() { return std::string(kFileTypeKey) + "\\DefaultIcon"; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

IntegrationError FailedToSetData(std::string_view valueName) {
  return IntegrationError("Failed to set data for '" + std::string(valueName) + "'");
}

IntegrationError InvalidDataType(std::string_view valueName) {
  return IntegrationError("Invalid data type for '" + std::string(valueName) + "'");
}

std::uint16_t IconIndexFromDefaultIcon(std::string_view value) {
  const std::size_t comma = value.find(',');
  if (comma == std::string_view::npos) return kDefaultIconIndex;
  std::size_t at = comma + 1;
  while (at < value.size() && IsBlank(value[at])) ++at;
  bool negative = false;
  if (at < value.size() && (value[at] == '+' || value[at] == '-')) negative = value[at++] == '-';
  // Only the number's low 16 bits count, so they are all that is kept: no
  // run of digits can overflow.
  std::uint16_t low = 0;
  for (; at < value.size() && value[at] >= '0' && value[at] <= '9'; ++at) {
    low = static_cast<std::uint16_t>(low * 10 + (value[at] - '0'));
  }
  if (negative) low = static_cast<std::uint16_t>(0x10000 - low);
  return std::min<std::uint16_t>(low, kIconCount - 1);
}

std::string FolderOf(std::string_view programPath) {
  const std::size_t separator = programPath.find_last_of("\\/:");
  return separator == std::string_view::npos ? std::string() : std::string(programPath.substr(0, separator + 1));
}

RegistryShellIntegration::RegistryShellIntegration(Registry& registry, ShellFiles& files, std::string programPath)
    : registry_(registry), files_(files), programPath_(std::move(programPath)) {}

IntegrationState RegistryShellIntegration::Read() {
  IntegrationState state;
  if (registry_.KeyExists(RegistryRoot::Classes, DefaultIconKey())) {
    state.IconIndex = IconIndexFromDefaultIcon(registry_.ReadString(RegistryRoot::Classes, DefaultIconKey(), ""));
  }
  state.Mgt = RegisteredToUs(kMgtKey);
  state.Sad = RegisteredToUs(kSadKey);
  const Places places = ReadPlaces();
  for (const Shortcut shortcut : kShortcuts) {
    const std::string& path = places.Shortcuts[Index(shortcut)];
    state.Available[Index(shortcut)] = !path.empty();
    state[shortcut] = !path.empty() && files_.IsFile(path);
  }
  return state;
}

void RegistryShellIntegration::Apply(const IntegrationState& state) {
  if (state.Mgt || state.Sad) {
    WriteFileType(std::min<std::uint16_t>(state.IconIndex, kIconCount - 1));
  } else {
    registry_.DeleteTree(RegistryRoot::Classes, kFileTypeKey);
  }
  ApplyExtension(kMgtKey, state.Mgt);
  ApplyExtension(kSadKey, state.Sad);

  const Places places = ReadPlaces();
  for (const Shortcut shortcut : kShortcuts) {
    // A box without a place was shown disabled: nothing of it is touched.
    if (!state.Available[Index(shortcut)] || places.Shortcuts[Index(shortcut)].empty()) continue;
    ApplyShortcut(shortcut, places, state[shortcut]);
  }
}

IntegrationLocations RegistryShellIntegration::Locations() {
  const std::string classes = registry_.RootName(RegistryRoot::Classes) + "\\";
  IntegrationLocations locations;
  locations.FileType = classes + kFileTypeKey;
  locations.Mgt = classes + kMgtKey;
  locations.Sad = classes + kSadKey;
  locations.Icon = classes + DefaultIconKey();
  locations.Shortcuts = ReadPlaces().Shortcuts;
  return locations;
}

RegistryShellIntegration::Places RegistryShellIntegration::ReadPlaces() {
  const auto folder = [this](const char* key, const char* name) {
    std::string path = registry_.ReadString(RegistryRoot::CurrentUser, key, name);
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
  };
  const std::string desktop = folder(kShellFoldersKey, "Desktop");
  const std::string startMenu = folder(kShellFoldersKey, "Start Menu");
  const std::string sendTo = folder(kShellFoldersKey, "SendTo");
  const std::string programs = folder(kShellFoldersKey, "Programs");
  const std::string quickLaunch = folder(kMapGroupsKey, "Quick Launch");

  // A folder the shell does not name gives no shortcut at all, rather than
  // one in whatever folder happens to be current.
  Places places;
  const auto place = [&places](Shortcut shortcut, const std::string& in) {
    if (!in.empty()) places.Shortcuts[Index(shortcut)] = in + kShortcutFileName;
  };
  place(Shortcut::Desktop, desktop);
  place(Shortcut::QuickLaunch, quickLaunch);
  place(Shortcut::StartMenu, startMenu);
  place(Shortcut::SendTo, sendTo);
  if (!programs.empty()) places.ProgramGroup = programs + kProgramGroupFolder;
  place(Shortcut::ProgramGroup, places.ProgramGroup);
  return places;
}

bool RegistryShellIntegration::RegisteredToUs(const std::string& extensionKey) {
  return registry_.KeyExists(RegistryRoot::Classes, extensionKey) &&
         registry_.ReadString(RegistryRoot::Classes, extensionKey, "") == kFileTypeKey;
}

void RegistryShellIntegration::WriteFileType(std::uint16_t iconIndex) {
  const auto write = [this](const std::string& key, const std::string& value) {
    if (!registry_.CreateKey(RegistryRoot::Classes, key)) throw FailedToSetData("");
    registry_.WriteString(RegistryRoot::Classes, key, "", value);
  };
  write(kFileTypeKey, kFileTypeName);
  write(CommandKey(), programPath_ + " \"%1\"");
  write(DefaultIconKey(), programPath_ + "," + std::to_string(iconIndex));
}

void RegistryShellIntegration::ApplyExtension(const std::string& extensionKey, bool ticked) {
  if (ticked) {
    // An extension key that cannot be had is passed over: the file type and
    // the other extension still count.
    if (registry_.CreateKey(RegistryRoot::Classes, extensionKey)) {
      registry_.WriteString(RegistryRoot::Classes, extensionKey, "", kFileTypeKey);
    }
  } else if (RegisteredToUs(extensionKey)) {
    // Another program's registration stays.
    registry_.DeleteTree(RegistryRoot::Classes, extensionKey);
  }
}

void RegistryShellIntegration::ApplyShortcut(Shortcut shortcut, const Places& places, bool ticked) {
  const std::string& link = places.Shortcuts[Index(shortcut)];
  const bool group = shortcut == Shortcut::ProgramGroup;
  if (ticked) {
    if (group && !files_.IsFolder(places.ProgramGroup)) files_.MakeFolder(places.ProgramGroup);
    files_.CreateLink(link, programPath_, FolderOf(programPath_));
  } else {
    files_.RemoveFile(link);
    // The group goes only when the user keeps nothing else in it.
    if (group) files_.RemoveEmptyFolder(places.ProgramGroup);
  }
}

}  // namespace vellonix::integration
