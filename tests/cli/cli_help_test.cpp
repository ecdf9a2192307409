// vellonix-cli --help, for the program and every command, fits a terminal
// of 80 columns, and the wrapping keeps every word.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "cli_runner.hpp"
#include "help_format.hpp"

namespace vellonix::testing {
namespace {

std::size_t Columns(const std::string& line) {
  std::size_t columns = 0;
  for (const char c : line) columns += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
  return columns;
}

TEST(CliHelp, WrapsAtBlanksAndKeepsEveryWord) {
  const struct {
    const char* Text;
    std::size_t Width;
    const char* Wrapped;
  } cases[] = {
      {"one two three", 7, "one two\nthree"},
      {"Coupé Coupé", 11, "Coupé Coupé"},  // characters, not bytes
      {"a verylongword b", 4, "a\nverylongword\nb"},
      {"first\nsecond line", 6, "first\nsecond\nline"},
      {"done\n", 80, "done\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(cli::WrapText(c.Text, c.Width), c.Wrapped) << c.Text;
}

// Each command's help (the program's first) by the command's words.
std::map<std::vector<std::string>, std::vector<std::string>> EveryHelp() {
  ScratchDir dir;
  std::map<std::vector<std::string>, std::vector<std::string>> helps;
  std::vector<std::vector<std::string>> pending{{}};
  while (!pending.empty()) {
    const std::vector<std::string> command = pending.back();
    pending.pop_back();
    std::vector<std::string> args = command;
    args.emplace_back("--help");
    const CliRun run = RunCli(dir, args);
    EXPECT_EQ(run.ExitCode, 0) << args.front();
    std::istringstream lines(run.Out);
    bool commands = false;
    for (std::string line; std::getline(lines, line);) {
      helps[command].push_back(line);
      // The commands listed lead to their own help.
      if (line == "Subcommands:" || line == "SUBCOMMANDS:") {
        commands = true;
      } else if (line.empty() || !line.starts_with("  ")) {
        commands = false;
      } else if (commands && line[2] != ' ') {
        std::vector<std::string> sub = command;
        sub.push_back(line.substr(2, line.find(' ', 2) - 2));
        pending.push_back(sub);
      }
    }
  }
  return helps;
}

TEST(CliHelp, EveryCommandsHelpFitsEightyColumns) {
  const auto helps = EveryHelp();
  for (const auto& [command, lines] : helps) {
    for (const std::string& line : lines) {
      EXPECT_LE(Columns(line), cli::kHelpWidth) << (command.empty() ? "vellonix-cli" : command.back()) << ": " << line;
    }
  }
  EXPECT_GE(helps.size(), 16U);  // the program, its commands, and those of disk and integration
}

// The shells' completions know every command and long option the help
// shows (bash and zsh spell an option --name, fish -l name).
TEST(CliHelp, TheShellCompletionsKnowEveryCommandAndOption) {
  const auto text = [](const char* file) { return ReadText(std::string(VELLONIX_COMPLETIONS) + "/" + file); };
  const std::pair<std::string, std::string> shells[] = {
      {"--", text("vellonix-cli.bash")}, {"--", text("_vellonix-cli")}, {"-l ", text("vellonix-cli.fish")}};
  for (const auto& [command, lines] : EveryHelp()) {
    for (const auto& [prefix, script] : shells) {
      if (!command.empty()) {
        EXPECT_NE(script.find(command.back()), std::string::npos) << command.back();
      }
      for (const std::string& line : lines) {
        // "  -h,--help", "  --mgt TEXT:{on,off}  Open ...": the long names.
        if (!line.starts_with("  -")) continue;
        const std::string names = line.substr(2, line.find(' ', 2) - 2);
        for (auto at = names.find("--"); at != std::string::npos; at = names.find("--", at + 2)) {
          const std::string name = names.substr(at + 2, names.find(',', at) - at - 2);
          EXPECT_NE(script.find(prefix + name), std::string::npos)
              << prefix << name << " of " << (command.empty() ? "vellonix-cli" : command.back());
        }
      }
    }
  }
}

}  // namespace
}  // namespace vellonix::testing
