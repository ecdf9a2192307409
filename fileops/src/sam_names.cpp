#include "sam_names.hpp"

#include <algorithm>

#include "vellonix/core/text.hpp"
#include "vellonix/fileops/add_file.hpp"
#include "vellonix/fileops/edit_entry.hpp"

namespace vellonix::fileops {

namespace {

bool IsContinuation(std::string_view text, std::size_t at) {
  return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence starting at `at`, or 0.
std::size_t SequenceLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  for (std::size_t i = 1; i < length; ++i) {
    if (!IsContinuation(text, at + i)) return 0;
  }
  return length;
}

}  // namespace

namespace detail {

void PutPadded(std::span<std::uint8_t> field, std::string_view text) {
  std::fill(field.begin(), field.end(), std::uint8_t{' '});
  std::copy_n(text.begin(), std::min(text.size(), field.size()), field.begin());
}

}  // namespace detail

std::array<std::uint8_t, core::DirEntryField::FileNameLength> SamNameForHostFile(std::string_view namePath) {
  const std::string_view name = core::FileNamePart(namePath);
  std::array<std::uint8_t, core::DirEntryField::FileNameLength> out{};
  out.fill(' ');
  std::size_t count = 0;
  for (std::size_t at = 0; at < name.size() && count < out.size();) {
    const auto lead = static_cast<unsigned char>(name[at]);
    const std::size_t length = lead < 0x80 ? 0 : SequenceLength(name, at);
    if (length == 0) {
      // ASCII, and bytes that are no UTF-8, pass as they are.
      out[count++] = lead;
      ++at;
      continue;
    }
    // U+0080-U+00FF are the two-byte forms led by C2 and C3.
    const bool latin1 = length == 2 && lead <= 0xC3;
    out[count++] = latin1 ? static_cast<std::uint8_t>(((lead & 0x03) << 6) | (name[at + 1] & 0x3F))
                          : std::uint8_t{'?'};
    at += length;
  }
  return out;
}

std::string TrimName(std::string_view text) {
  const auto isBlank = [](char ch) { return static_cast<unsigned char>(ch) < 33; };
  const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
  const auto last = std::find_if_not(text.rbegin(), std::make_reverse_iterator(first), isBlank).base();
  return std::string(first, last);
}

}  // namespace vellonix::fileops
