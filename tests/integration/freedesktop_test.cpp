// The freedesktop ties in a temporary home (HOME and the XDG folders all
// inside a scratch folder), checked by the files placed, the home's bytes
// before and after, and what GLib's own tools make of them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>

#include "scratch_dir.hpp"
#include "vellonix/integration/shell_integration.hpp"

namespace vellonix::integration {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;

const std::string kAppId = VELLONIX_APP_ID;
const std::string kInstalledEntry = kAppId + ".desktop";
const std::string kTiesEntry = kAppId + "-options.desktop";
constexpr const char* kMgt = "application/x-sam-mgt-disk-image";
constexpr const char* kSad = "application/x-sam-sad-disk-image";
const std::string kStandIn = "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n";

std::string Text(const fs::path& path) {
  const auto bytes = testing::ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

void Write(const fs::path& path, const std::string& text, bool executable = false) {
  fs::create_directories(path.parent_path());
  testing::WriteBytes(path, {text.begin(), text.end()});
  if (executable) fs::permissions(path, fs::perms::owner_all);
}

bool Executable(const fs::path& path) {
  return (fs::status(path).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

// What a shell command prints, its last newline dropped.
std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    ::pclose(pipe);
  }
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

bool HasTool(const std::string& name) { return std::system(("command -v " + name + " >/dev/null").c_str()) == 0; }
std::string Word(const fs::path& path) { return "'" + path.string() + "'"; }

// Every folder and file below `root`, with each file's bytes and mode.
using Tree = std::map<std::string, std::string>;
Tree Snapshot(const fs::path& root) {
  Tree tree;
  std::error_code error;
  for (const auto& item : fs::recursive_directory_iterator(root, error)) {
    const std::string name = fs::relative(item.path(), root).string();
    if (item.is_directory()) {
      tree[name + '/'] = "";
    } else {
      tree[name] = Text(item.path()) + (Executable(item.path()) ? "\n(executable)" : "");
    }
  }
  return tree;
}

// The names that differ between two trees, for a readable failure.
std::string Difference(const Tree& before, const Tree& after) {
  std::string out;
  for (const auto& [name, bytes] : before) {
    const auto found = after.find(name);
    if (found == after.end()) out += " gone: " + name;
    else if (found->second != bytes) out += " changed: " + name;
  }
  for (const auto& [name, bytes] : after) {
    if (!before.contains(name)) out += " new: " + name;
  }
  return out;
}

enum class Setup { Nothing, PerUser, System };

class FreedesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Set("HOME", home_.string());
    Set("XDG_DATA_HOME", Data("").string());
    Set("XDG_CONFIG_HOME", Config("").string());
    Set("XDG_DATA_DIRS", (prefix_ / "share").string() + ":/usr/share");
    Set("XDG_CONFIG_DIRS", (scratch_.Path() / "etc").string());
    Set("XDG_CURRENT_DESKTOP", std::nullopt);
    Set("PATH", (prefix_ / "bin").string() + ':' + (home_ / ".local/bin").string() + ':' + std::getenv("PATH"));
    // The stand-in program writes down the arguments it was started with.
    Write(program_, kStandIn, true);
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
  }

  void Set(const std::string& name, const std::optional<std::string>& value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace(name, old ? std::optional<std::string>(old) : std::nullopt);
    value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
  }

  // Installs the build's desktop files into `prefix` as an installation
  // does: the files, then the MIME and desktop databases refreshed.
  void Install(const fs::path& prefix) {
    if (!fs::is_directory(VELLONIX_DESKTOP_SHARE)) GTEST_SKIP() << "the desktop files are not built";
    for (const char* tool : {"update-mime-database", "update-desktop-database", "gio"}) {
      if (!HasTool(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    fs::create_directories(prefix / "share");
    fs::copy(VELLONIX_DESKTOP_SHARE, prefix / "share", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    Write(prefix / "bin/vellonix", kStandIn, true);
    ASSERT_EQ(std::system(("update-mime-database " + Word(prefix / "share/mime")).c_str()), 0);
    ASSERT_EQ(std::system(("update-desktop-database -q " + Word(prefix / "share/applications")).c_str()), 0);
  }

  fs::path Data(const std::string& path) const { return home_ / ".local/share" / path; }
  fs::path Config(const std::string& path) const { return home_ / ".config" / path; }
  std::unique_ptr<ShellIntegration> Shell() const { return MakeHostShellIntegration(program_.string()); }

  // What GLib opens a type with and calls it, from a file of that name.
  std::string GioDefault(const char* type) {
    const std::string line = Output(std::string("gio mime ") + type + " 2>/dev/null | head -n1");
    const auto colon = line.rfind(": ");
    return line.starts_with("Default application") && colon != std::string::npos ? line.substr(colon + 2) : "";
  }
  std::string GioAttribute(const std::string& file, const std::string& attribute) {
    const fs::path path = scratch_.Path() / file;
    if (!fs::exists(path)) Write(path, std::string("\0\x01\x02", 3));
    const std::string line = Output("gio info -a " + attribute + " " + Word(path) + " | grep '  " + attribute + ": '");
    return line.substr(line.find(": ") + 2);
  }

  ScratchDir scratch_;
  fs::path home_ = scratch_.Path() / "home";
  fs::path prefix_ = scratch_.Path() / "prefix";
  fs::path program_ = scratch_.Path() / "build/vellonix";
  std::map<std::string, std::optional<std::string>> saved_;
};

class FreedesktopSetupTest : public FreedesktopTest, public ::testing::WithParamInterface<Setup> {
 protected:
  void SetUp() override {
    FreedesktopTest::SetUp();
    if (GetParam() == Setup::PerUser) Install(home_ / ".local");
    if (GetParam() == Setup::System) Install(prefix_);
    if (::testing::Test::IsSkipped() || HasFailure()) return;
    // A desktop folder, and another program's lines in mimeapps.list, the
    // last one written without its closing semicolon.
    fs::create_directories(home_ / "Desktop");
    Write(Config("mimeapps.list"), "# mine\n[Default Applications]\ntext/plain=other.desktop;\n" + std::string(kSad) +
                                       "=other.desktop\n");
    Write(Data("applications/other.desktop"), "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %f\n");
  }

  // The home and the installation, which the boxes must leave as they were.
  Tree Everything() const {
    Tree tree = Snapshot(home_);
    for (const auto& [name, bytes] : Snapshot(prefix_)) tree["prefix/" + name] = bytes;
    return tree;
  }

  // The boxes as GLib finds them: each type opens in one of the program's
  // entries exactly when its box is ticked.
  void ExpectGlibAgrees(const IntegrationState& state) {
    for (const auto& [type, ticked, file] : {std::tuple{kMgt, state.Mgt, "x.mgt"}, std::tuple{kSad, state.Sad, "y.sad"}}) {
      const std::string opener = GioDefault(type);
      EXPECT_EQ(opener == kInstalledEntry || opener == kTiesEntry, ticked) << type << " opens in '" << opener << "'";
      if (ticked) {
        EXPECT_EQ(GioAttribute(file, "standard::content-type"), type);
      }
    }
  }
};

// Each box on, off and on again (off, on, off for one ticked from the
// start), then back as it was: the home matches itself at each state.
TEST_P(FreedesktopSetupTest, EachBoxOnAndOffLeavesTheHomeAsItWas) {
  const IntegrationState initial = Shell()->Read();
  const bool installed = GetParam() != Setup::Nothing;
  EXPECT_EQ(initial.Mgt, installed);
  EXPECT_FALSE(initial.Sad);  // another program's default
  EXPECT_EQ(initial[Shortcut::StartMenu], installed);
  EXPECT_EQ(initial.Available[Index(Shortcut::StartMenu)], GetParam() != Setup::PerUser);
  EXPECT_EQ(initial.IconIndex, kDefaultIconIndex);
  ExpectGlibAgrees(initial);

  const Tree before = Everything();
  Shell()->Apply(initial);
  EXPECT_EQ(Difference(before, Everything()), "") << "OK with nothing changed";

  const struct {
    const char* Name;
    std::function<bool&(IntegrationState&)> Box;
  } boxes[] = {
      {"MGT", [](IntegrationState& s) -> bool& { return s.Mgt; }},
      {"SAD", [](IntegrationState& s) -> bool& { return s.Sad; }},
      {"desktop", [](IntegrationState& s) -> bool& { return s[Shortcut::Desktop]; }},
      {"start menu", [](IntegrationState& s) -> bool& { return s[Shortcut::StartMenu]; }},
      {"send to", [](IntegrationState& s) -> bool& { return s[Shortcut::SendTo]; }},
      {"program group", [](IntegrationState& s) -> bool& { return s[Shortcut::ProgramGroup]; }},
  };
  for (const auto& box : boxes) {
    SCOPED_TRACE(box.Name);
    IntegrationState start = initial;
    const bool first = !box.Box(start);
    std::optional<Tree> other;
    for (const bool on : {first, !first, first}) {
      IntegrationState wanted = initial;
      box.Box(wanted) = on;
      Shell()->Apply(wanted);
      IntegrationState expected = wanted;
      if (!initial.Available[Index(Shortcut::StartMenu)]) expected[Shortcut::StartMenu] = initial[Shortcut::StartMenu];
      EXPECT_EQ(Shell()->Read(), expected) << "ticked: " << on;
      ExpectGlibAgrees(expected);
      const Tree now = Everything();
      if (expected == initial) {
        EXPECT_EQ(Difference(before, now), "") << "ticked: " << on;
      } else if (!other) {
        other = now;
        for (const auto& [name, bytes] : now) {
          if (!name.ends_with(".desktop") || name.find("servicemenus") != std::string::npos) continue;
          const fs::path file = name.starts_with("prefix/") ? prefix_ / name.substr(7) : home_ / name;
          EXPECT_EQ(Output("desktop-file-validate " + Word(file) + " 2>&1"), "") << name;
        }
      } else {
        EXPECT_EQ(Difference(*other, now), "") << "ticked: " << on;
      }
    }
    Shell()->Apply(initial);
    EXPECT_EQ(Difference(before, Everything()), "");
  }
}

// The types show the chosen icon, found under a name of its own, while the
// installed icons stay as they are.
TEST_P(FreedesktopSetupTest, TheChosenIconShowsWithoutReplacingAnInstalledOne) {
  const IntegrationState initial = Shell()->Read();
  const Tree before = Everything();
  const char* sources[] = {"program.svg", "diskimage-1.svg", "diskimage-2.svg"};
  for (std::uint16_t icon = 0; icon < kIconCount; ++icon) {
    SCOPED_TRACE(icon);
    IntegrationState wanted = initial;
    wanted.Mgt = wanted.Sad = true;
    wanted.IconIndex = icon;
    Shell()->Apply(wanted);
    EXPECT_EQ(Shell()->Read(), wanted);
    for (const char* file : {"x.mgt", "y.sad"}) {
      const std::string names = GioAttribute(file, "standard::icon");
      const std::string name = names.substr(0, names.find(','));
      std::optional<std::string> picture;
      for (const fs::path& share : {Data(""), prefix_ / "share"}) {
        for (const char* context : {"apps", "mimetypes"}) {
          const fs::path svg = share / "icons/hicolor/scalable" / context / (name + ".svg");
          if (fs::exists(svg)) picture = Text(svg);
        }
      }
      EXPECT_EQ(picture, Text(fs::path(VELLONIX_ICON_DIR) / sources[icon])) << file << " shows " << names;
    }
    for (const auto& [name, bytes] : before) {
      if (name.find("icons/") != std::string::npos) {
        EXPECT_EQ(Everything()[name], bytes) << name;
      }
    }
  }
  Shell()->Apply(initial);
  EXPECT_EQ(Difference(before, Everything()), "");
}

INSTANTIATE_TEST_SUITE_P(Installations, FreedesktopSetupTest,
                         ::testing::Values(Setup::Nothing, Setup::PerUser, Setup::System),
                         [](const auto& setup) {
                           return setup.param == Setup::Nothing ? "NothingInstalled"
                                  : setup.param == Setup::PerUser ? "PerUserInstall"
                                                                  : "SystemInstall";
                         });

TEST_F(FreedesktopTest, ShortcutFilesAreRunnableWhereTheirDesktopsNeedIt) {
  Write(Config("user-dirs.dirs"), "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  fs::create_directories(home_ / "Schreibtisch");
  IntegrationState all = Shell()->Read();
  for (const Shortcut s : kShortcuts) all[s] = all.Available[Index(s)];
  Shell()->Apply(all);
  EXPECT_EQ(Shell()->Read(), all);
  for (const auto& [file, executable] : {std::pair{home_ / "Schreibtisch" / kInstalledEntry, true},
                                         {Data("kio/servicemenus/" + kInstalledEntry), true},
                                         {Data("nautilus/scripts/Open in SAM Vellonix"), true},
                                         {Data("applications/" + kTiesEntry), false},
                                         {Data("applications/sam-coupe/" + kInstalledEntry), false}}) {
    ASSERT_TRUE(fs::is_regular_file(file)) << file;
    EXPECT_EQ(Executable(file), executable) << file;
  }
  // Without a desktop folder there is no place for a launcher.
  fs::remove_all(home_ / "Schreibtisch");
  EXPECT_FALSE(Shell()->Read().Available[Index(Shortcut::Desktop)]);
}

TEST_F(FreedesktopTest, ProgramGroupStaysWhileItHoldsOthers) {
  const fs::path directory = Data("desktop-directories/sam-coupe.directory");
  const std::pair<fs::path, std::string> others[] = {
      {Data("applications/sam-coupe/other.desktop"), "[Desktop Entry]\nType=Application\nName=O\nExec=o\n"},
      {Config("menus/applications-merged/other.menu"), "<Menu><Directory>sam-coupe.directory</Directory></Menu>"},
  };
  IntegrationState group = Shell()->Read();
  group[Shortcut::ProgramGroup] = true;
  for (const auto& [other, text] : others) {
    SCOPED_TRACE(other);
    Shell()->Apply(group);
    Write(other, text);
    IntegrationState none = group;
    none[Shortcut::ProgramGroup] = false;
    Shell()->Apply(none);
    EXPECT_FALSE(Shell()->Read()[Shortcut::ProgramGroup]);
    EXPECT_TRUE(fs::exists(directory));
    EXPECT_EQ(Text(other), text);
    fs::remove(other);
  }
}

TEST_F(FreedesktopTest, ProgramPathsAreQuotedForEveryReader) {
  program_ = scratch_.Path() / "my \"bin\" $1 it's 100%" / "vellonix";
  Write(program_, kStandIn, true);
  IntegrationState state = Shell()->Read();
  state[Shortcut::StartMenu] = state[Shortcut::SendTo] = true;
  Shell()->Apply(state);
  EXPECT_EQ(Shell()->Read(), state);  // the entry's TryExec and Exec find the program
  const fs::path entry = Data("applications/" + kTiesEntry);
  EXPECT_NE(Text(entry).find(R"(Exec="/)"), std::string::npos);
  EXPECT_EQ(Output("desktop-file-validate " + Word(entry) + " 2>&1"), "");
  // The Nautilus script starts the program with the selected files as they are.
  const std::string script = Data("nautilus/scripts/Open in SAM Vellonix").string();
  ASSERT_EQ(std::system(("'" + script + "' 'a b.mgt' '$HOME.sad'").c_str()), 0);
  EXPECT_EQ(Text(program_.string() + ".args"), "a b.mgt\n$HOME.sad\n");

  // A path no desktop entry can hold is refused before anything is written.
  const Tree before = Snapshot(home_);
  program_ = scratch_.Path() / "new\nline/vellonix";
  state[Shortcut::SendTo] = false;
  EXPECT_THROW(Shell()->Apply(state), IntegrationError);
  EXPECT_EQ(Difference(before, Snapshot(home_)), "");
}

}  // namespace
}  // namespace vellonix::integration
