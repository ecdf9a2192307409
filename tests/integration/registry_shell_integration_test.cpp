// The Windows desktop ties' logic on every host: a registry in memory and
// the shell folders as a scratch folder tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <variant>

#include "error_text.hpp"
#include "scratch_dir.hpp"
#include "vellonix/integration/registry_shell_integration.hpp"

namespace vellonix::integration {
namespace {

using testing::ErrorOf;
using testing::ScratchDir;
using testing::Utf8Path;

class MemoryRegistry final : public Registry {
 public:
  using Value = std::variant<std::string, std::uint32_t>;  // REG_SZ or REG_DWORD
  using Key = std::pair<RegistryRoot, std::string>;
  std::map<Key, std::map<std::string, Value>> Keys;
  std::set<std::string> Locked;  // class keys that can be neither created nor written

  void Set(RegistryRoot root, const std::string& key, const std::string& name, Value value) {
    CreateKey(root, key);
    Keys[{root, key}][name] = std::move(value);
  }
  // The default value of a class key; "-" when the key is missing.
  std::string Default(const std::string& key) const {
    const auto found = Keys.find({RegistryRoot::Classes, key});
    if (found == Keys.end()) return "-";
    const auto value = found->second.find("");
    return value == found->second.end() ? "" : std::get<std::string>(value->second);
  }

  bool KeyExists(RegistryRoot root, const std::string& key) override { return Keys.contains({root, key}); }
  bool CreateKey(RegistryRoot root, const std::string& key) override {
    if (root == RegistryRoot::Classes && Locked.contains(key)) return false;
    for (std::size_t at = key.find('\\'); at != std::string::npos; at = key.find('\\', at + 1)) {
      Keys[{root, key.substr(0, at)}];
    }
    Keys[{root, key}];
    return true;
  }
  std::string ReadString(RegistryRoot root, const std::string& key, const std::string& name) override {
    const auto found = Keys.find({root, key});
    if (found == Keys.end() || !found->second.contains(name)) return "";
    const auto* text = std::get_if<std::string>(&found->second[name]);
    if (text == nullptr) throw InvalidDataType(name);
    return *text;
  }
  void WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                   const std::string& value) override {
    if (!Keys.contains({root, key}) || (root == RegistryRoot::Classes && Locked.contains(key))) {
      throw FailedToSetData(name);
    }
    Keys[{root, key}][name] = value;
  }
  void DeleteTree(RegistryRoot root, const std::string& key) override {
    std::erase_if(Keys, [&](const auto& entry) {
      const auto& [entryRoot, path] = entry.first;
      return entryRoot == root && (path == key || path.starts_with(key + "\\"));
    });
  }
  std::string RootName(RegistryRoot root) override {
    return root == RegistryRoot::Classes ? "HKEY_CURRENT_USER\\Software\\Classes" : "HKEY_CURRENT_USER";
  }
};

// The shell folders as real folders; a shortcut is a file holding its
// target and working folder. Every path changed is noted.
class TreeFiles final : public ShellFiles {
 public:
  std::vector<std::string> Changed;
  bool NoLinkObject = false;

  static testing::fs::path Host(const std::string& path) {
    std::string slashed = path;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    return Utf8Path(slashed);
  }
  bool IsFile(const std::string& path) override { return testing::fs::is_regular_file(Host(path)); }
  void RemoveFile(const std::string& path) override {
    Changed.push_back(path);
    std::error_code ignored;
    if (IsFile(path)) testing::fs::remove(Host(path), ignored);
  }
  bool IsFolder(const std::string& path) override { return testing::fs::is_directory(Host(path)); }
  void MakeFolder(const std::string& path) override {
    Changed.push_back(path);
    std::error_code ignored;
    testing::fs::create_directory(Host(path), ignored);
  }
  void RemoveEmptyFolder(const std::string& path) override {
    Changed.push_back(path);
    std::error_code ignored;
    if (IsFolder(path) && testing::fs::is_empty(Host(path))) testing::fs::remove(Host(path), ignored);
  }
  void CreateLink(const std::string& linkPath, const std::string& target, const std::string& workingFolder) override {
    if (NoLinkObject) throw IntegrationError("Class not registered");
    Changed.push_back(linkPath);
    const std::string content = target + "\n" + workingFolder;
    testing::WriteBytes(Host(linkPath), {content.begin(), content.end()});
  }
};

constexpr const char* kProgram = "C:\\Programs\\SAM Coup\u00e9\\vellonix.exe";
constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kMapGroups = "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";

class RegistryShellIntegrationTest : public ::testing::Test {
 protected:
  RegistryShellIntegrationTest() {
    for (const char* name : {"Desktop", "Start Menu", "SendTo", "Programs"}) {
      SetFolder(kShellFolders, name);
    }
    SetFolder(kMapGroups, "Quick Launch");
  }
  void SetFolder(const char* key, const std::string& name) {
    testing::fs::create_directory(Utf8Path(scratch / name));
    registry.Set(RegistryRoot::CurrentUser, key, name, scratch / name);
  }
  std::string Link(const std::string& folder) const { return scratch / folder + "\\SAM Vellonix.lnk"; }
  std::string GroupLink() const { return scratch / "Programs" + "\\SAM Coup\u00e9\\SAM Vellonix.lnk"; }
  static IntegrationState Ticked(bool on) {
    IntegrationState state;
    state.Mgt = state.Sad = on;
    state.Shortcuts.fill(on);
    return state;
  }

  ScratchDir scratch;
  MemoryRegistry registry;
  TreeFiles files;
  RegistryShellIntegration shell{registry, files, kProgram};
};

TEST_F(RegistryShellIntegrationTest, FirstUseShowsNothingAndOkTakesNothingOfOthers) {
  registry.Set(RegistryRoot::Classes, ".sad", "", std::string("SadFile"));
  testing::WriteBytes(Utf8Path(scratch / "Desktop/other.lnk"), {1});
  const auto before = registry.Keys;

  const IntegrationState state = shell.Read();
  EXPECT_EQ(state, IntegrationState{});
  EXPECT_EQ(registry.Keys, before);  // Cancel after reading: nothing changed

  shell.Apply(state);
  EXPECT_EQ(registry.Keys, before);
  EXPECT_EQ(scratch.Listing("Desktop"), std::set<std::string>{"other.lnk"});
}

TEST_F(RegistryShellIntegrationTest, TickingMgtWithTheFirstIconRegistersTheFileType) {
  IntegrationState state = shell.Read();
  state.Mgt = true;
  state.IconIndex = 0;
  shell.Apply(state);

  EXPECT_EQ(registry.Default(".mgt"), "diskimage");
  EXPECT_EQ(registry.Default(".sad"), "-");
  EXPECT_EQ(registry.Default("diskimage"), "SAM Coup\u00e9 diskimage");
  EXPECT_EQ(registry.Default("diskimage\\Shell\\open\\command"), std::string(kProgram) + " \"%1\"");
  EXPECT_EQ(registry.Default("diskimage\\DefaultIcon"), std::string(kProgram) + ",0");
  const IntegrationState again = shell.Read();
  EXPECT_TRUE(again.Mgt);
  EXPECT_FALSE(again.Sad);
  EXPECT_EQ(again.IconIndex, 0);
  EXPECT_EQ(shell.Locations().Icon, "HKEY_CURRENT_USER\\Software\\Classes\\diskimage\\DefaultIcon");
}

TEST(IconIndexFromDefaultIcon, TakesTheNumberAfterTheFirstComma) {
  const std::pair<const char*, int> cases[] = {
      {"C:\\v.exe,7", 2}, {"C:\\v.exe", 2},  {"v,1abc", 1},  {"v,-1", 2},     {"v,  1", 1},   {"v,\t0", 0},
      {"v,", 0},          {"v,abc", 0},      {"v,1,0", 1},   {"v,65537", 1}, {"v,-65535", 1}, {"v,+0", 0},
      {"v,99999999999999999999999", 2}, {"", 2}};
  for (const auto& [value, index] : cases) EXPECT_EQ(IconIndexFromDefaultIcon(value), index) << value;
}

TEST_F(RegistryShellIntegrationTest, UntickingBothRemovesOnlyOurRegistrations) {
  registry.Set(RegistryRoot::Classes, "diskimage\\Shell\\open\\command", "", std::string("x \"%1\""));
  registry.Set(RegistryRoot::Classes, "diskimage\\DefaultIcon", "", std::string("x,1"));
  registry.Set(RegistryRoot::Classes, ".mgt", "", std::string("diskimage"));
  registry.Set(RegistryRoot::Classes, ".mgt\\ShellNew", "", std::string(""));
  registry.Set(RegistryRoot::Classes, ".sad", "", std::string("DiskImage"));  // another program's
  const IntegrationState state = shell.Read();
  EXPECT_TRUE(state.Mgt);
  EXPECT_FALSE(state.Sad);
  EXPECT_EQ(state.IconIndex, 1);

  shell.Apply(Ticked(false));
  std::set<std::string> left;
  for (const auto& [key, values] : registry.Keys) {
    if (key.first == RegistryRoot::Classes) left.insert(key.second);
  }
  EXPECT_EQ(left, std::set<std::string>{".sad"});
  EXPECT_EQ(registry.Default(".sad"), "DiskImage");
}

TEST_F(RegistryShellIntegrationTest, ShortcutsArePlacedAndTheGroupLeftWhileItHoldsOtherFiles) {
  shell.Apply(Ticked(true));
  const std::array<std::string, kShortcutCount> links{Link("Desktop"), Link("Quick Launch"), Link("Start Menu"),
                                                       Link("SendTo"), GroupLink()};
  EXPECT_EQ(shell.Locations().Shortcuts, links);
  for (const std::string& link : links) {
    const auto content = testing::ReadBytes(TreeFiles::Host(link));
    EXPECT_EQ(std::string(content.begin(), content.end()), std::string(kProgram) + "\nC:\\Programs\\SAM Coup\u00e9\\")
        << link;
  }
  EXPECT_EQ(shell.Read(), Ticked(true));

  testing::WriteBytes(Utf8Path(scratch / "Programs/SAM Coup\u00e9/notes.txt"), {1});
  shell.Apply(Ticked(false));
  EXPECT_EQ(shell.Read(), Ticked(false));
  const std::string group = scratch / "Programs\\SAM Coup\u00e9";
  EXPECT_TRUE(files.IsFolder(group));
  testing::fs::remove(Utf8Path(scratch / "Programs/SAM Coup\u00e9/notes.txt"));
  shell.Apply(Ticked(false));
  EXPECT_FALSE(files.IsFolder(group));
}

TEST_F(RegistryShellIntegrationTest, AShortcutWhoseFolderIsNotNamedIsUnavailableAndLeftAlone) {
  const std::tuple<const char*, const char*, Shortcut> unnamed[] = {
      {kShellFolders, "Desktop", Shortcut::Desktop},      {kMapGroups, "Quick Launch", Shortcut::QuickLaunch},
      {kShellFolders, "Start Menu", Shortcut::StartMenu}, {kShellFolders, "SendTo", Shortcut::SendTo},
      {kShellFolders, "Programs", Shortcut::ProgramGroup}};
  const auto named = registry.Keys;
  for (const auto& [key, name, shortcut] : unnamed) {
    SCOPED_TRACE(name);
    registry.Keys = named;
    // Missing, empty, or a bare backslash: no folder either way.
    if (shortcut == Shortcut::QuickLaunch) {
      registry.Keys.erase({RegistryRoot::CurrentUser, key});
    } else {
      registry.Set(RegistryRoot::CurrentUser, key, name, std::string(shortcut == Shortcut::Desktop ? "" : "\\"));
    }
    const IntegrationState state = shell.Read();
    EXPECT_FALSE(state.Available[Index(shortcut)]);
    EXPECT_FALSE(state[shortcut]);
    EXPECT_EQ(shell.Locations().Shortcuts[Index(shortcut)], "");

    files.Changed.clear();
    shell.Apply(Ticked(true));
    const IntegrationState placed = shell.Read();
    for (const Shortcut other : kShortcuts) EXPECT_EQ(placed[other], other != shortcut);
    shell.Apply(Ticked(false));
    for (const std::string& path : files.Changed) EXPECT_TRUE(path.starts_with(scratch.Path().string())) << path;
  }
}

TEST_F(RegistryShellIntegrationTest, FailuresStopWhereTheyShould) {
  IntegrationState mgt;
  mgt.Mgt = true;
  mgt[Shortcut::Desktop] = true;

  // A file type key that cannot be had ends the apply phase there.
  registry.Locked = {"diskimage\\DefaultIcon"};
  EXPECT_EQ(ErrorOf([&] { shell.Apply(mgt); }), "Failed to set data for ''");
  EXPECT_EQ(registry.Default("diskimage\\Shell\\open\\command"), std::string(kProgram) + " \"%1\"");
  EXPECT_EQ(registry.Default(".mgt"), "-");
  EXPECT_FALSE(files.IsFile(Link("Desktop")));

  // An extension key that cannot be had is passed over.
  registry.Locked = {".mgt"};
  shell.Apply(Ticked(true));
  EXPECT_EQ(registry.Default(".mgt"), "-");
  EXPECT_EQ(registry.Default(".sad"), "diskimage");
  EXPECT_TRUE(files.IsFile(Link("Desktop")));

  // No shortcut object: the system's message; the registry is written.
  registry.Locked.clear();
  files.NoLinkObject = true;
  EXPECT_EQ(ErrorOf([&] { shell.Apply(mgt); }), "Class not registered");
  EXPECT_EQ(registry.Default(".mgt"), "diskimage");
}

TEST_F(RegistryShellIntegrationTest, AValueOfAnotherTypeEndsReadingWithItsName) {
  const std::tuple<RegistryRoot, const char*, const char*> wrong[] = {
      {RegistryRoot::Classes, "diskimage\\DefaultIcon", ""},
      {RegistryRoot::Classes, ".sad", ""},
      {RegistryRoot::CurrentUser, kShellFolders, "SendTo"},
      {RegistryRoot::CurrentUser, kMapGroups, "Quick Launch"}};
  const auto good = registry.Keys;
  for (const auto& [root, key, name] : wrong) {
    registry.Keys = good;
    registry.Set(root, key, name, std::uint32_t{1});
    EXPECT_EQ(ErrorOf([&] { shell.Read(); }), "Invalid data type for '" + std::string(name) + "'") << key;
  }
}

}  // namespace
}  // namespace vellonix::integration
