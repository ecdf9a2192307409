// add: host files added to an image as Code files, as Add File does.
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

#include "commands.hpp"
#include "image_edit.hpp"
#include "image_reader.hpp"
#include "terminal_text.hpp"
#include "vellonix/fileops/add_file.hpp"

namespace vellonix::cli {

namespace {

struct AddOptions {
  std::string Image;
  std::vector<std::string> Files;
};

// Now, or the moment SOURCE_DATE_EPOCH gives so that scripted images come
// out the same each time; in local time either way.
fileops::LocalDateTime DateStampTime() {
  std::time_t seconds = std::time(nullptr);
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  if (epoch != nullptr && *epoch != '\0') {
    const std::string_view text(epoch);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) {
      throw CommandError("SOURCE_DATE_EPOCH must be a number of seconds since 1970-01-01");
    }
    seconds = static_cast<std::time_t>(value);
  }
  std::tm local{};
#ifdef _WIN32
  const bool converted = localtime_s(&local, &seconds) == 0;
#else
  const bool converted = localtime_r(&seconds, &local) != nullptr;
#endif
  if (!converted) throw CommandError("the date stamp's time has no local date");
  return fileops::LocalDateTimeOf(local);
}

int RunAdd(const AddOptions& options) {
  ScannedImage scanned = LoadAndScan(options.Image, Access::Change);
  const fileops::LocalDateTime now = DateStampTime();
  bool anyAdded = false;
  bool anyRefused = false;
  // Each file is read whole before the image changes, so one that cannot be
  // read is reported like one the disk refuses, and the rest go on.
  for (const std::string& file : options.Files) {
    try {
      const fileops::AddResult result = fileops::AddHostFile(*scanned.Image.Disk, scanned.State, file, file, now);
      if (result.Added()) {
        anyAdded = true;
        continue;
      }
      ReportSkipped(file, std::string(result.Refused->Message) + " (" + result.Reason + ")");
    } catch (const core::HostIoError& error) {
      std::fprintf(stderr, "%s\n", HostTextForTerminal(error.what()).c_str());  // its text names the file
    }
    anyRefused = true;
  }
  if (anyAdded) scanned.Save();
  return anyRefused ? 1 : 0;
}

}  // namespace

Command AddAddCommand(CLI::App& app) {
  auto options = std::make_shared<AddOptions>();
  CLI::App* add = app.add_subcommand(
      "add", "Add host files as Code files, in order; a file that is refused or cannot be read is reported and "
             "does not stop the rest, the image is saved in place when any was added, and the exit status is 1 "
             "when any was not. SOURCE_DATE_EPOCH, when set, gives the date stamp");
  add->add_option("IMAGE", options->Image, "The image to change: a .mgt or .sad file")->required();
  add->add_option("FILE", options->Files, "The host files to add")->required();
  return {add, [options] { return RunAdd(*options); }};
}

}  // namespace vellonix::cli
