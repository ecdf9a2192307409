// integration: the Options dialog's boxes for scripts. Without a
// subcommand it shows what the dialog would show; "set" reads the same
// state, changes the boxes named and writes the whole state back, as OK
// does. The program registered is the vellonix installed beside this
// vellonix-cli.
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

#include <nlohmann/json.hpp>

#include "commands.hpp"
#include "listing_output.hpp"
#include "terminal_text.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/integration/program_path.hpp"
#include "vellonix/integration/shell_integration.hpp"

namespace vellonix::cli {

namespace {

namespace fs = std::filesystem;
using integration::IntegrationState;
using integration::kShortcutCount;
using integration::Shortcut;

constexpr int kExitUsage = 2;

#ifdef _WIN32
constexpr const char* kProgramFile = "vellonix.exe";
#else
constexpr const char* kProgramFile = "vellonix";
#endif

struct IntegrationOptions {
  bool Json = false;
  // "on", "off", or empty when the box is not named; the icon "0" to "2".
  std::string Mgt;
  std::string Sad;
  std::string Icon;
  std::array<std::string, kShortcutCount> Shortcuts;
};

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

// The program that the registrations start: vellonix in the folder that
// holds the running vellonix-cli, as an installation places them.
std::string ProgramBeside() {
  const std::string self = integration::RunningProgramPath();
  if (self.empty()) throw CommandError("Cannot tell which folder vellonix-cli runs from");
  return Utf8(core::PathFromUtf8(self).parent_path() / kProgramFile);
}

bool ProgramExists(const std::string& program) {
  std::error_code ignored;
  return fs::is_regular_file(core::PathFromUtf8(program), ignored);
}

const char* OnOff(bool on) { return on ? "on" : "off"; }

std::string ShowText(const std::string& program, const IntegrationState& state,
                     const integration::IntegrationLocations& where) {
  std::string out =
      "Program:   " + HostTextForTerminal(program) + (ProgramExists(program) ? "" : " (not found)") + '\n';
  out += "File type: " + where.FileType + "\n\n";
  const auto row = [&out](const std::string& caption, const std::string& value, const std::string& location) {
    char line[64];
    std::snprintf(line, sizeof line, "%-25s %-4s ", caption.c_str(), value.c_str());
    out += line + HostTextForTerminal(location) + '\n';
  };
  row("MGT", OnOff(state.Mgt), where.Mgt);
  row("SAD", OnOff(state.Sad), where.Sad);
  row("Icon", std::to_string(state.IconIndex), where.Icon);
  for (const Shortcut shortcut : integration::kShortcuts) {
    const auto i = integration::Index(shortcut);
    if (state.Available[i]) {
      row(integration::ShortcutCaption(shortcut), OnOff(state.Shortcuts[i]), where.Shortcuts[i]);
    } else if (!where.Shortcuts[i].empty()) {
      row(integration::ShortcutCaption(shortcut), OnOff(state.Shortcuts[i]), where.Shortcuts[i] + ", not changed here");
    } else {
      row(integration::ShortcutCaption(shortcut), "-", "(not available here)");
    }
  }
  return out;
}

nlohmann::ordered_json ShowJson(const std::string& program, const IntegrationState& state,
                                const integration::IntegrationLocations& where) {
  nlohmann::ordered_json shortcuts = nlohmann::ordered_json::array();
  for (const Shortcut shortcut : integration::kShortcuts) {
    const auto i = integration::Index(shortcut);
    shortcuts.push_back({{"key", integration::ShortcutKey(shortcut)},
                         {"caption", integration::ShortcutCaption(shortcut)},
                         {"on", state.Shortcuts[i]},
                         {"available", state.Available[i]},
                         {"location", where.Shortcuts[i]}});
  }
  return {{"program", program},
          {"programFound", ProgramExists(program)},
          {"fileType", where.FileType},
          {"mgt", {{"on", state.Mgt}, {"location", where.Mgt}}},
          {"sad", {{"on", state.Sad}, {"location", where.Sad}}},
          {"icon", {{"index", state.IconIndex}, {"location", where.Icon}}},
          {"shortcuts", std::move(shortcuts)}};
}

int RunShow(const IntegrationOptions& options) {
  const std::string program = ProgramBeside();
  const auto shell = integration::MakeHostShellIntegration(program);
  const IntegrationState state = shell->Read();
  const integration::IntegrationLocations where = shell->Locations();
  WriteStdout(options.Json ? DumpJson(ShowJson(program, state, where)) + '\n' : ShowText(program, state, where));
  return 0;
}

int RunSet(const IntegrationOptions& options) {
  const std::string program = ProgramBeside();
  const auto shell = integration::MakeHostShellIntegration(program);
  IntegrationState state = shell->Read();
  for (const Shortcut shortcut : integration::kShortcuts) {
    const auto i = integration::Index(shortcut);
    if (options.Shortcuts[i].empty()) continue;
    if (!state.Available[i]) {
      const std::string where = shell->Locations().Shortcuts[i];
      std::fprintf(stderr, "--%s: \"%s\" cannot be changed on this system%s%s\n", integration::ShortcutKey(shortcut),
                   integration::ShortcutCaption(shortcut), where.empty() ? "" : ": ", where.c_str());
      return kExitUsage;
    }
    state.Shortcuts[i] = options.Shortcuts[i] == "on";
  }
  if (!options.Mgt.empty()) state.Mgt = options.Mgt == "on";
  if (!options.Sad.empty()) state.Sad = options.Sad == "on";
  if (!options.Icon.empty()) state.IconIndex = static_cast<std::uint16_t>(options.Icon[0] - '0');

  if (!ProgramExists(program)) {
    throw CommandError("The program to register is missing: vellonix-cli registers the vellonix in its own folder, '" +
                       program + "'");
  }
  shell->Apply(state);
  return 0;
}

}  // namespace

Command AddIntegrationCommand(CLI::App& app) {
  auto options = std::make_shared<IntegrationOptions>();
  CLI::App* command = app.add_subcommand(
      "integration", "Show how .mgt and .sad files and the program's shortcuts are tied into the desktop");
  command->add_flag("--json", options->Json, "Print the state as JSON");
  command->require_subcommand(0, 1);

  CLI::App* set = command->add_subcommand(
      "set", "Change the boxes named and write the whole state back, as OK in the Options dialog does");
  const auto onOff = CLI::IsMember({"on", "off"});
  set->add_option("--mgt", options->Mgt, "Open .mgt files with the program")->check(onOff);
  set->add_option("--sad", options->Sad, "Open .sad files with the program")->check(onOff);
  set->add_option("--icon", options->Icon, "The icon the image files show: 0, 1 or 2")->check(CLI::IsMember({"0", "1", "2"}));
  for (const Shortcut shortcut : integration::kShortcuts) {
    set->add_option(std::string("--") + integration::ShortcutKey(shortcut),
                    options->Shortcuts[integration::Index(shortcut)], integration::ShortcutCaption(shortcut))
        ->check(onOff);
  }
  return {command, [options, set] { return set->parsed() ? RunSet(*options) : RunShow(*options); }};
}

}  // namespace vellonix::cli
