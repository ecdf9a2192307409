// vellonix-cli's --help fits a terminal of 80 columns: the descriptions
// beside the option and command names, and the commands' own, are wrapped
// at blanks.
#pragma once

#include <CLI/CLI.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace vellonix::cli {

inline constexpr std::size_t kHelpWidth = 80;

// `text` broken at blanks into lines of at most `width` characters (a word
// longer than that keeps a line of its own); line breaks already in it stay.
std::string WrapText(std::string_view text, std::size_t width);

class HelpFormatter : public CLI::Formatter {
 public:
  std::string make_option_desc(const CLI::Option* option) const override;
  std::string make_subcommand(const CLI::App* command) const override;
  std::string make_description(const CLI::App* app) const override;
};

}  // namespace vellonix::cli
