// The freedesktop ties in a temporary home (HOME and the XDG folders all
// inside a scratch folder), checked by reading the files placed and with
// the desktop's own tools.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>

#include "scratch_dir.hpp"
#include "vellonix/integration/shell_integration.hpp"

namespace vellonix::integration {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;

const std::string kEntry = std::string(VELLONIX_APP_ID) + ".desktop";
constexpr const char* kMgt = "application/x-sam-mgt-disk-image";
constexpr const char* kSad = "application/x-sam-sad-disk-image";

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

class FreedesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Set("HOME", home_.string());
    Set("XDG_DATA_HOME", Data("").string());
    Set("XDG_CONFIG_HOME", Config("").string());
    Set("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    Set("XDG_CURRENT_DESKTOP", std::nullopt);
    // The stand-in program writes down the arguments it was started with.
    Write(program_, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n", true);
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
  }

  void Set(const std::string& name, const std::optional<std::string>& value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace(name, old ? std::optional<std::string>(old) : std::nullopt);
    value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
  }

  void NeedXdgTools() {
    for (const char* tool : {"xdg-mime", "update-mime-database", "update-desktop-database", "mimetype"}) {
      if (!HasTool(tool)) GTEST_SKIP() << tool << " is not installed";
    }
  }

  fs::path Data(const std::string& path) const { return home_ / ".local/share" / path; }
  fs::path Config(const std::string& path) const { return home_ / ".config" / path; }
  std::unique_ptr<ShellIntegration> Shell() const { return MakeHostShellIntegration(program_.string()); }
  // The state with the boxes given ticked, as Read shows it here.
  static IntegrationState State(std::initializer_list<Shortcut> ticked = {}) {
    IntegrationState state;
    state.Available[Index(Shortcut::QuickLaunch)] = false;
    for (const Shortcut s : ticked) state[s] = true;
    return state;
  }

  ScratchDir scratch_;
  fs::path home_ = scratch_.Path() / "home";
  fs::path program_ = scratch_.Path() / "bin/vellonix";
  std::map<std::string, std::optional<std::string>> saved_;
};

TEST_F(FreedesktopTest, EachShortcutBoxPlacesAndTakesBackItsFiles) {
  Write(Config("user-dirs.dirs"), "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  const struct {
    Shortcut Box;
    std::vector<std::pair<fs::path, bool>> Files;  // placed, and whether executable
  } cases[] = {
      {Shortcut::Desktop, {{home_ / "Schreibtisch" / kEntry, true}}},
      {Shortcut::StartMenu, {{Data("applications/" + kEntry), false}}},
      {Shortcut::SendTo, {{Data("kio/servicemenus/" + kEntry), true}, {Data("nautilus/scripts/Open in SAM Vellonix"), true}}},
      {Shortcut::ProgramGroup,
       {{Config("menus/applications-merged/sam-coupe-" + std::string(VELLONIX_APP_ID) + ".menu"), false},
        {Data("applications/sam-coupe/" + kEntry), false},
        {Data("desktop-directories/sam-coupe.directory"), false}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ShortcutKey(c.Box));
    EXPECT_EQ(Shell()->Read(), State());
    Shell()->Apply(State({c.Box}));
    EXPECT_EQ(Shell()->Read(), State({c.Box}));
    for (const auto& [file, executable] : c.Files) {
      ASSERT_TRUE(fs::is_regular_file(file)) << file;
      EXPECT_EQ(Executable(file), executable) << file;
      if (file.extension() == ".desktop" && file.parent_path().filename() != "servicemenus" && HasTool("desktop-file-validate")) {
        EXPECT_EQ(Output("desktop-file-validate '" + file.string() + "' 2>&1"), "") << file;
      }
    }
    Shell()->Apply(State());
    for (const auto& [file, executable] : c.Files) EXPECT_FALSE(fs::exists(file)) << file;
  }
  EXPECT_FALSE(fs::exists(Data("applications/sam-coupe")));
  EXPECT_EQ(Shell()->Read(), State());
}

TEST_F(FreedesktopTest, TypesOpenInTheProgramWithTheChosenIcon) {
  NeedXdgTools();
  // A per-user install draws fixed-size pictures that would hide the choice.
  const fs::path drawn = Data("icons/hicolor/48x48/mimetypes/application-x-sam-mgt-disk-image.png");
  Write(drawn, "png");
  Write(scratch_.Path() / "x.mgt", std::string(819200, '\0'));
  Write(scratch_.Path() / "y.sad", "Yolt's disk backup");
  for (const std::uint16_t icon : {std::uint16_t{0}, std::uint16_t{1}, std::uint16_t{2}}) {
    IntegrationState state = State();
    state.Mgt = state.Sad = true;
    state.IconIndex = icon;
    Shell()->Apply(state);
    EXPECT_EQ(Shell()->Read(), state);
    const std::string source = icon == 0 ? "program.svg" : "diskimage-" + std::to_string(icon) + ".svg";
    EXPECT_EQ(Text(Data("icons/hicolor/scalable/mimetypes/application-x-sam-sad-disk-image.svg")),
              Text(fs::path(VELLONIX_ICON_DIR) / source));
  }
  EXPECT_FALSE(fs::exists(drawn));
  const std::string cd = "cd '" + scratch_.Path().string() + "' && ";
  EXPECT_EQ(Output(cd + "xdg-mime query filetype x.mgt"), kMgt);
  EXPECT_EQ(Output(cd + "xdg-mime query filetype y.sad"), kSad);
  EXPECT_EQ(Output(std::string("xdg-mime query default ") + kMgt), kEntry);
  EXPECT_EQ(Output(std::string("xdg-mime query default ") + kSad), kEntry);
  // The types need the entry; the menu, unticked, does not show it.
  EXPECT_NE(Text(Data("applications/" + kEntry)).find("\nNoDisplay=true\n"), std::string::npos);
}

TEST_F(FreedesktopTest, UntickingTakesBackOnlyOurDefaults) {
  NeedXdgTools();
  const std::string before =
      "# mine\n[Default Applications]\ntext/plain=other.desktop;\napplication/x-sam-sad-disk-image=other.desktop;\n\n"
      "[Added Associations]\ntext/plain=other.desktop;\n";
  Write(Config("mimeapps.list"), before);
  Write(Data("applications/other.desktop"), "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %f\n");
  EXPECT_EQ(Shell()->Read(), State());

  IntegrationState both = State();
  both.Mgt = both.Sad = true;
  Shell()->Apply(both);
  EXPECT_EQ(Shell()->Read(), both);
  EXPECT_EQ(Output(std::string("xdg-mime query default ") + kSad), kEntry);
  EXPECT_EQ(Output("xdg-mime query default text/plain"), "other.desktop");

  Shell()->Apply(State());
  EXPECT_EQ(Text(Config("mimeapps.list")), before);
  EXPECT_EQ(Output(std::string("xdg-mime query default ") + kSad), "other.desktop");
  EXPECT_FALSE(fs::exists(Data("applications/" + kEntry)));
}

TEST_F(FreedesktopTest, ProgramGroupStaysWhileItHoldsOthers) {
  const fs::path directory = Data("desktop-directories/sam-coupe.directory");
  const std::pair<fs::path, std::string> others[] = {
      {Data("applications/sam-coupe/other.desktop"), "[Desktop Entry]\nType=Application\nName=O\nExec=o\n"},
      {Config("menus/applications-merged/other.menu"), "<Menu><Directory>sam-coupe.directory</Directory></Menu>"},
  };
  for (const auto& [other, text] : others) {
    SCOPED_TRACE(other);
    Shell()->Apply(State({Shortcut::ProgramGroup}));
    Write(other, text);
    Shell()->Apply(State());
    EXPECT_EQ(Shell()->Read(), State());
    EXPECT_TRUE(fs::exists(directory));
    EXPECT_EQ(Text(other), text);
    fs::remove(other);
  }
}

TEST_F(FreedesktopTest, ProgramPathsAreQuotedForEveryReader) {
  program_ = scratch_.Path() / "my \"bin\" $1 it's 100%" / "vellonix";
  Write(program_, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n", true);
  Shell()->Apply(State({Shortcut::StartMenu, Shortcut::SendTo}));
  EXPECT_NE(Text(Data("applications/" + kEntry)).find(R"(Exec="/)"), std::string::npos);
  if (HasTool("desktop-file-validate")) {
    EXPECT_EQ(Output("desktop-file-validate '" + Data("applications/" + kEntry).string() + "' 2>&1"), "");
  }
  // The Nautilus script starts the program with the selected files as they are.
  const std::string script = Data("nautilus/scripts/Open in SAM Vellonix").string();
  ASSERT_EQ(std::system(("'" + script + "' 'a b.mgt' '$HOME.sad'").c_str()), 0);
  EXPECT_EQ(Text(program_.string() + ".args"), "a b.mgt\n$HOME.sad\n");

  // A path no desktop entry can hold is refused before anything is written.
  program_ = scratch_.Path() / "new\nline/vellonix";
  EXPECT_THROW(Shell()->Apply(State({Shortcut::Desktop})), IntegrationError);
  EXPECT_FALSE(fs::exists(home_ / "Desktop"));
}

}  // namespace
}  // namespace vellonix::integration
