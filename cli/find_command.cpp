// find: file names matching a pattern, across images and folders of them.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "commands.hpp"
#include "image_edit.hpp"
#include "image_reader.hpp"
#include "listing_output.hpp"
#include "terminal_text.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/list_row.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/formats/name_pattern.hpp"

namespace vellonix::cli {

namespace {

namespace fs = std::filesystem;

struct FindOptions {
  std::string Pattern;
  std::vector<std::string> Paths;
  std::string Type;
  bool Json = false;
};

std::string Utf8Of(const fs::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

bool IsImageName(const fs::path& path) {
  const std::string name = Utf8Of(path.filename());
  return core::HasExtension(name, ".MGT") || core::HasExtension(name, ".SAD");
}

// Appends the .mgt and .sad files below `folder` (any case), each folder's
// entries in name order. Links to folders are not followed, so a loop of
// links ends. A folder that cannot be read is reported and skipped.
bool CollectImages(const fs::path& folder, std::vector<std::string>& images) {
  bool allRead = true;
  std::vector<fs::path> pending{folder};
  while (!pending.empty()) {
    const fs::path current = std::move(pending.back());
    pending.pop_back();
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(current, error), end; !error && it != end; it.increment(error)) {
      entries.push_back(*it);
    }
    if (error) {
      ReportSkipped(Utf8Of(current), error.message());
      allRead = false;
      continue;
    }
    std::sort(entries.begin(), entries.end());
    std::vector<fs::path> subfolders;
    for (const fs::directory_entry& entry : entries) {
      std::error_code ignored;
      if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) {
        subfolders.push_back(entry.path());
      } else if (IsImageName(entry.path()) && !entry.is_directory(ignored)) {
        images.push_back(Utf8Of(entry.path()));
      }
    }
    // Depth first, in name order: the first subfolder is taken next.
    pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
  }
  return allRead;
}

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

bool SameTypeText(std::string_view a, std::string_view b) { return core::UpperAscii(a) == core::UpperAscii(b); }

int RunFind(const FindOptions& options) {
  const std::string pattern = SamBytesOrFail(options.Pattern, "PATTERN");
  bool allRead = true;
  std::vector<std::string> images;
  for (const std::string& path : options.Paths) {
    core::HostFileKind kind{};
    try {
      kind = core::KindOfHostFile(path);
    } catch (const core::HostIoError& error) {  // a loop of links, a name too long: its text names the path
      std::fprintf(stderr, "%s\n", HostTextForTerminal(error.what()).c_str());
      allRead = false;
      continue;
    }
    if (kind == core::HostFileKind::Directory) {
      allRead = CollectImages(core::PathFromUtf8(path), images) && allRead;
    } else {
      images.push_back(path);  // an image named outright is tried whatever its name
    }
  }

  ImageReader reader;
  allRead = ForEachImage(reader, images, [&](const std::string& path, const ImageListing& image) {
    std::string hits;
    for (const core::ListRow& row : image.Listing.Rows) {
      const std::string name = Trimmed(row.SubItems[core::kFilename]);
      const std::string& type = row.SubItems[core::kType];
      if (!formats::MatchesNamePattern(pattern, name)) continue;
      if (!options.Type.empty() && !SameTypeText(type, options.Type)) continue;
      const std::string& size = row.SubItems[core::kSize];
      if (options.Json) {
        nlohmann::ordered_json hit = PathJson(path);
        hit.update({{"fileNumber", row.Caption}, {"name", core::Latin1ToUtf8(name)}, {"type", type}, {"size", size}});
        hits += DumpJson(hit) + '\n';
      } else {
        hits += HostTextForTerminal(path) + '\t' + row.Caption + '\t' + ForTerminal(name).Utf8 + '\t' + type + '\t' +
                size + '\n';
      }
    }
    if (!hits.empty()) WriteStdout(hits);
  }) && allRead;
  return allRead ? 0 : 1;
}

}  // namespace

Command AddFindCommand(CLI::App& app) {
  auto options = std::make_shared<FindOptions>();
  CLI::App* find = app.add_subcommand(
      "find", "Print the files whose names match PATTERN, one a line: path, File #, name, type and size, "
              "tab-separated; images, folders and paths that cannot be read or looked at are reported and skipped "
              "(exit 1 at the end); a malformed PATTERN or a TYPE no file has is a usage error");
  find->add_flag("--json", options->Json, "Print one JSON object per file found, one a line");
  find->add_option("--type", options->Type, "Only files of this type, as the list's Type column shows it (Code, "
                                            "SCREEN$, Basic, ...; any case)")
      ->check(CLI::Validator(
          [](std::string& type) -> std::string {
            const auto names = core::FileTypeNames;
            const auto isType = [&](std::string_view name) { return SameTypeText(name, type); };
            if (std::any_of(names.begin(), names.end(), isType)) return {};
            std::string known;
            for (std::size_t i = 0; i < names.size(); ++i) {
              if (std::find(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(i), names[i]) ==
                  names.begin() + static_cast<std::ptrdiff_t>(i)) {
                known += (known.empty() ? "" : ", ") + std::string(names[i]);
              }
            }
            return "unknown type \"" + type + "\": the list's Type column shows " + known;
          },
          "TYPE"));
  find->add_option("PATTERN", options->Pattern,
                   "A shell-style pattern (*, ?, [...]) on the file name without its blanks at the ends; any case")
      ->required()
      ->check(CLI::Validator(
          [](std::string& text) -> std::string {
            const auto bytes = core::Utf8ToLatin1(text);
            const auto problem = bytes ? formats::NamePatternProblem(*bytes) : std::nullopt;
            return problem ? "\"" + text + "\" is no pattern: " + *problem : std::string();
          },
          "PATTERN"));
  find->add_option("PATH", options->Paths,
                   "Images, or folders searched through for .mgt and .sad files (any case, every level down)")
      ->required();
  return {find, [options] { return RunFind(*options); }};
}

}  // namespace vellonix::cli
