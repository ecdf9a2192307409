// basic: the listing of a SAM BASIC program.
#include <charconv>
#include <cstdio>

#include "commands.hpp"
#include "image_edit.hpp"
#include "vellonix/core/list_row.hpp"
#include "vellonix/fileops/extract_file.hpp"
#include "vellonix/formats/basic_listing.hpp"

namespace vellonix::cli {

namespace {

struct BasicOptions {
  std::string Image;
  int FileNumber = 0;
  formats::BasicLineRange Lines;
};

std::optional<int> LineNumber(std::string_view text, int fallback) {
  if (text.empty()) return fallback;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

// "FROM-TO", "FROM-", "-TO" or a single line number; for anything else,
// what is wrong with it.
struct ParsedRange {
  formats::BasicLineRange Range;
  std::string Problem;
};
ParsedRange ParseLineRange(std::string_view text) {
  const auto dash = text.find('-');
  const auto from = LineNumber(text.substr(0, dash), 0);
  const auto to = dash == std::string_view::npos ? from : LineNumber(text.substr(dash + 1), formats::kLastBasicLine);
  if (text.empty() || !from || !to) return {{}, "is no range of lines: give FROM-TO"};
  if (*from > *to) {
    return {{}, "is no range of lines: FROM (" + std::to_string(*from) + ") is after TO (" + std::to_string(*to) + ")"};
  }
  return {formats::BasicLineRange{*from, *to}, {}};
}

int RunBasic(const BasicOptions& options) {
  const ScannedImage scanned = LoadAndScan(options.Image, Access::Read);
  const int slot = SlotOfFileOfType(scanned, options.FileNumber, core::kTypeBasic, "a SAM BASIC program");
  const formats::BasicListing listing =
      ListBasicProgram(fileops::ExtractFileBytes(*scanned.Image.Disk, slot), options.Lines);
  WriteStdout(listing.Text);
  if (listing.EndMarkerFound) return 0;
  std::fprintf(stderr, "File # %d: %s\n", options.FileNumber, formats::DescribeListingEnd(listing).c_str());
  return 1;
}

}  // namespace

Command AddBasicCommand(CLI::App& app) {
  auto options = std::make_shared<BasicOptions>();
  CLI::App* basic = app.add_subcommand(
      "basic", "Print the listing of a SAM BASIC program (type 16) as UTF-8 text, as the SAM's LIST lays it out; "
               "exit 1 when the program's data ends early (what there is is listed)");
  basic->add_option("IMAGE", options->Image, "The image to read: a .mgt or .sad file")->required();
  AddFileNumberArgument(*basic, options->FileNumber);
  basic->add_option_function<std::string>(
          "--lines", [options](const std::string& text) { options->Lines = ParseLineRange(text).Range; },
          "Only the lines numbered FROM to TO (FROM-TO; FROM- or -TO leave one end open; N is one line)")
      ->check(CLI::Validator(
          [](std::string& text) -> std::string {
            const std::string problem = ParseLineRange(text).Problem;
            return problem.empty() ? problem : "\"" + text + "\" " + problem;
          },
          "FROM-TO"));
  return {basic, [options] { return RunBasic(*options); }};
}

}  // namespace vellonix::cli
