// vellonix-cli: disk images from the command line. Exit codes: 0 success,
// 1 a refused image or a host error, 2 wrong usage.
#include <algorithm>
#include <array>
#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands.hpp"
#include "help_format.hpp"
#include "host_console.hpp"
#include "terminal_text.hpp"

namespace {

using namespace vellonix::cli;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Every subcommand by the name it is run with, in the order help lists them.
struct CommandEntry {
  std::string_view Name;
  CommandFactory Add;
};
constexpr std::array kCommands{
    CommandEntry{"ls", &AddLsCommand},          CommandEntry{"convert", &AddConvertCommand},
    CommandEntry{"new", &AddNewCommand},        CommandEntry{"add", &AddAddCommand},
    CommandEntry{"extract", &AddExtractCommand}, CommandEntry{"rm", &AddRmCommand},
    CommandEntry{"rename", &AddRenameCommand},  CommandEntry{"label", &AddLabelCommand},
    CommandEntry{"find", &AddFindCommand},      CommandEntry{"basic", &AddBasicCommand},
    CommandEntry{"screen", &AddScreenCommand},  CommandEntry{"import", &AddImportCommand},
    CommandEntry{"disk", &AddDiskCommand},      CommandEntry{"integration", &AddIntegrationCommand}};

// Messages carry paths, SAM names and arguments, which must not be able to
// drive the terminal: their control codes are shown escaped.
int ReportFailure(const char* message) {
  std::fprintf(stderr, "%s\n", HostTextForTerminal(message).c_str());
  return kExitFailure;
}

int ReportUsageError(const std::string& message) {
  std::fprintf(stderr, "%s\nRun with --help for more information.\n", HostTextForTerminal(message).c_str());
  return kExitUsage;
}

// The first word that names no command where one must stand ("lss", or
// "disk rd"), with the words before it; nothing when every one does.
std::optional<std::string> UnknownCommand(const CLI::App& app, const std::vector<std::string>& arguments) {
  const CLI::App* level = &app;
  std::string named;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    const auto commands = level->get_subcommands([](const CLI::App*) { return true; });
    if (commands.empty() || word.starts_with('-')) break;
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [&](const CLI::App* command) { return command->check_name(word); });
    named += named.empty() ? word : " " + word;
    if (found == commands.end()) return named;
    level = *found;
  }
  return std::nullopt;
}

int Run(const std::vector<std::string>& arguments) {
  CLI::App app("Lists, creates and edits SAM Coupé disk images in the MGT and SAD containers.",
               "vellonix-cli");
  app.formatter(std::make_shared<HelpFormatter>());  // before the commands, which take it over
  app.set_version_flag("--version", VELLONIX_VERSION);
  app.require_subcommand(1);

  // A run that names its command first registers that one alone: building
  // every command's options, texts and checks costs more than listing an
  // image. The program's help, its version, a mistyped command and options
  // before the command get them all.
  const auto named = std::find_if(kCommands.begin(), kCommands.end(), [&](const CommandEntry& entry) {
    return arguments.size() > 1 && entry.Name == arguments[1];
  });
  std::vector<Command> commands;
  commands.reserve(kCommands.size());
  for (const CommandEntry& entry : kCommands) {
    if (named == kCommands.end() || &entry == &*named) commands.push_back(entry.Add(app));
  }

  if (const auto unknown = UnknownCommand(app, arguments)) {
    return ReportUsageError("unknown command '" + *unknown + "'");
  }
  try {
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() != 0) return ReportUsageError(error.what());
    app.exit(error);  // help or version, on standard output
    std::cout.flush();
    return std::cout ? 0 : ReportFailure("cannot write to standard output");
  }

  for (const Command& command : commands) {
    if (command.Parser->parsed()) return command.Run();
  }
  return kExitUsage;  // require_subcommand makes this unreachable
}

}  // namespace

int main(int argc, char** argv) {
#ifdef SIGPIPE
  // A closed pipe must show as a failed write, not end the program silently.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  const Utf8StandardStreams streams;
  try {
    return Run(Utf8Arguments(argc, argv));
  } catch (const std::exception& error) {
    return ReportFailure(error.what());
  } catch (...) {
    return ReportFailure("unexpected error");
  }
}
