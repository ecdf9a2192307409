// vellonix-cli --help, for the program and every command, fits a terminal
// of 80 columns, and the wrapping keeps every word.
#include <gtest/gtest.h>

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

TEST(CliHelp, EveryCommandsHelpFitsEightyColumns) {
  ScratchDir dir;
  std::vector<std::vector<std::string>> pending{{}};
  int helps = 0;
  while (!pending.empty()) {
    const std::vector<std::string> command = pending.back();
    pending.pop_back();
    std::vector<std::string> args = command;
    args.emplace_back("--help");
    const CliRun run = RunCli(dir, args);
    ASSERT_EQ(run.ExitCode, 0) << args.front();
    ++helps;
    std::istringstream lines(run.Out);
    bool commands = false;
    for (std::string line; std::getline(lines, line);) {
      EXPECT_LE(Columns(line), cli::kHelpWidth) << (command.empty() ? "vellonix-cli" : command.back()) << ": " << line;
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
  EXPECT_GE(helps, 16);  // the program, its commands, and those of disk and integration
}

}  // namespace
}  // namespace vellonix::testing
