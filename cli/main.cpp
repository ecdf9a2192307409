// vellonix-cli: disk images from the command line. Exit codes: 0 success,
// 1 a refused image or a host error, 2 wrong usage.
#include <array>
#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "commands.hpp"
#include "help_format.hpp"
#include "host_console.hpp"

namespace {

using namespace vellonix::cli;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Every subcommand, in the order help lists them.
constexpr std::array kCommands{&AddLsCommand,     &AddConvertCommand, &AddNewCommand,   &AddAddCommand,
                               &AddExtractCommand, &AddRmCommand,    &AddRenameCommand, &AddLabelCommand,
                               &AddFindCommand,   &AddBasicCommand,
#if VELLONIX_HAS_PNG
                               &AddScreenCommand,
#endif
                               &AddImportCommand,
                               &AddDiskCommand,   &AddIntegrationCommand};

int ReportFailure(const char* message) {
  std::fprintf(stderr, "%s\n", message);
  return kExitFailure;
}

int Run(const std::vector<std::string>& arguments) {
  CLI::App app("Lists, creates and edits SAM Coupé disk images in the MGT and SAD containers.",
               "vellonix-cli");
  app.formatter(std::make_shared<HelpFormatter>());  // before the commands, which take it over
  app.set_version_flag("--version", VELLONIX_VERSION);
  app.require_subcommand(1);

  std::vector<Command> commands;
  commands.reserve(kCommands.size());
  for (const CommandFactory add : kCommands) commands.push_back(add(app));

  try {
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    std::cout.flush();
    if (code != 0) return kExitUsage;
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
