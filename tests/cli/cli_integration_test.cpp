// vellonix-cli integration in a temporary home: the CLI copied into a
// folder of its own beside a stand-in vellonix, which it registers.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli_runner.hpp"

namespace vellonix::testing {
namespace {

const std::string kEntry = std::string(VELLONIX_APP_ID) + "-options.desktop";
constexpr const char* kMgt = "application/x-sam-mgt-disk-image";
constexpr const char* kSad = "application/x-sam-sad-disk-image";

void WriteText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

class CliIntegrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(bin_);
    fs::copy_file(VELLONIX_CLI_PATH, bin_ / "vellonix-cli");
    WriteText(program_, "#!/bin/sh\nexit 0\n");
    fs::permissions(program_, fs::perms::owner_all);
  }

  CliRun Run(const std::string& program, const std::vector<std::string>& args) {
    const std::vector<std::string> environment{
        "HOME=" + home_.string(), "XDG_DATA_HOME=" + Data("").string(), "XDG_CONFIG_HOME=" + Config("").string(),
        "XDG_DATA_DIRS=/usr/share", "XDG_CONFIG_DIRS=" + (dir_ / "etc"), "XDG_CURRENT_DESKTOP="};
    CliRun run;
    run.ExitCode = RunProgram({program, args, dir_.Path(), environment, dir_ / ".out", false, dir_ / ".err"});
    run.Out = ReadText(dir_ / ".out");
    run.Err = ReadText(dir_ / ".err");
    return run;
  }
  CliRun Cli(const std::vector<std::string>& args) { return Run((bin_ / "vellonix-cli").string(), args); }
  std::string DefaultFor(const std::string& type) {
    std::string out = Run("/usr/bin/xdg-mime", {"query", "default", type}).Out;
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
  }

  fs::path Data(const std::string& path) const { return home_ / ".local/share" / path; }
  fs::path Config(const std::string& path) const { return home_ / ".config" / path; }

  ScratchDir dir_;
  fs::path home_ = dir_.Path() / "home";
  fs::path bin_ = dir_.Path() / "bin";
  fs::path program_ = bin_ / "vellonix";
};

TEST_F(CliIntegrationTest, SetRegistersTheProgramBesideAndTakesBackOnlyOurs) {
  if (!fs::exists("/usr/bin/xdg-mime") || std::system("command -v update-mime-database >/dev/null") != 0) {
    GTEST_SKIP() << "the xdg tools are not installed";
  }
  const std::string before = "[Default Applications]\ntext/plain=other.desktop;\n" + std::string(kSad) + "=other.desktop;\n";
  WriteText(Config("mimeapps.list"), before);
  WriteText(Data("applications/other.desktop"), "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %f\n");

  ASSERT_EQ(Cli({"integration", "set", "--mgt", "on", "--sad", "on", "--start-menu", "on"}).ExitCode, 0);
  EXPECT_EQ(DefaultFor(kMgt), kEntry);
  EXPECT_EQ(DefaultFor(kSad), kEntry);
  EXPECT_NE(ReadText(Data("applications/" + kEntry)).find("\nExec=" + program_.string() + " %F\n"), std::string::npos);

  const CliRun shown = Cli({"integration", "--json"});
  ASSERT_EQ(shown.ExitCode, 0) << shown.Err;
  EXPECT_TRUE(shown.Out.ends_with("}\n"));  // one line, as every JSON output
  const auto state = nlohmann::json::parse(shown.Out);
  EXPECT_EQ(state["program"], program_.string());
  EXPECT_EQ(state["mgt"]["on"], true);
  EXPECT_EQ(state["icon"]["index"], 2);
  EXPECT_EQ(state["shortcuts"][1]["available"], false);
  EXPECT_EQ(state["shortcuts"][2]["on"], true);

  ASSERT_EQ(Cli({"integration", "set", "--mgt", "off", "--sad", "off"}).ExitCode, 0);
  EXPECT_EQ(ReadText(Config("mimeapps.list")), before);
  EXPECT_EQ(DefaultFor(kSad), "other.desktop");
  EXPECT_EQ(DefaultFor("text/plain"), "other.desktop");
  EXPECT_TRUE(fs::exists(Data("applications/" + kEntry)));  // the Start menu box stays ticked
}

TEST_F(CliIntegrationTest, RefusesWhatItCannotDo) {
  const CliRun unavailable = Cli({"integration", "set", "--mgt", "on", "--quick-launch", "on"});
  EXPECT_EQ(unavailable.ExitCode, 2);
  EXPECT_NE(unavailable.Err.find("\"Add to Quick launch bar\" cannot be changed on this system\n"), std::string::npos) << unavailable.Err;
  EXPECT_EQ(Cli({"integration", "set", "--icon", "3"}).ExitCode, 2);

  fs::remove(program_);
  const CliRun missing = Cli({"integration", "set", "--mgt", "on"});
  EXPECT_EQ(missing.ExitCode, 1);
  EXPECT_NE(missing.Err.find(program_.string()), std::string::npos) << missing.Err;
  EXPECT_FALSE(fs::exists(home_));  // nothing written
  EXPECT_NE(Cli({"integration"}).Out.find(program_.string() + " (not found)"), std::string::npos);
}

}  // namespace
}  // namespace vellonix::testing
