#include "help_format.hpp"

#include <sstream>

namespace vellonix::cli {

namespace {

// Characters, not bytes: the texts are UTF-8.
std::size_t Columns(std::string_view text) {
  std::size_t columns = 0;
  for (const char c : text) columns += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
  return columns;
}

}  // namespace

std::string WrapText(std::string_view text, std::size_t width) {
  std::string out;
  std::size_t column = 0;
  while (!text.empty()) {
    const auto blank = text.find_first_of(" \n");
    const std::string_view word = text.substr(0, blank);
    if (column > 0 && column + 1 + Columns(word) > width) {
      out += '\n';
      column = 0;
    }
    if (!word.empty()) {
      if (column > 0) out += ' ', ++column;
      out += word;
      column += Columns(word);
    }
    if (blank == std::string_view::npos) break;
    if (text[blank] == '\n') out += '\n', column = 0;
    text.remove_prefix(blank + 1);
  }
  return out;
}

std::string HelpFormatter::make_option_desc(const CLI::Option* option) const {
  return WrapText(CLI::Formatter::make_option_desc(option), kHelpWidth - column_width_);
}

std::string HelpFormatter::make_subcommand(const CLI::App* command) const {
  std::stringstream out;
  CLI::detail::format_help(out, command->get_display_name(), WrapText(command->get_description(), kHelpWidth - column_width_),
                           column_width_);
  return out.str();
}

std::string HelpFormatter::make_description(const CLI::App* app) const {
  return WrapText(CLI::Formatter::make_description(app), kHelpWidth);
}

}  // namespace vellonix::cli
