#include "vellonix/ui/file_viewer.hpp"

#include <algorithm>

#include "vellonix/core/list_row.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/fileops/edit_entry.hpp"
#include "vellonix/fileops/extract_file.hpp"
#include "vellonix/formats/basic_listing.hpp"

namespace vellonix::ui {

namespace {

constexpr std::size_t kDumpWidth = 16;
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

std::string FileNumber(int slot) { return "File # " + std::to_string(slot + 1); }

// The name as the list shows it, blanks off both ends; a control code
// would break a window caption, so it shows as the dump shows it.
std::string ShownName(core::ConstDirEntry entry) {
  std::string name = fileops::TrimName(core::FileNameText(entry));
  for (char& ch : name) {
    if (core::IsControlCode(static_cast<unsigned char>(ch))) ch = '.';
  }
  return core::Latin1ToUtf8(name);
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

void AppendHex(std::string& out, unsigned value, int digits) {
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHexDigits[(value >> shift) & 0x0F];
}

}  // namespace

std::string FileView::Text(std::string_view lineEnd) const {
  std::string text;
  for (const std::string& line : Lines) {
    text += line;
    text += lineEnd;
  }
  return text;
}

TextArea OpeningTextArea(const FileView& view) {
  std::size_t widest = 0;
  for (const std::string& line : view.Lines) {
    // Characters, not bytes: a UTF-8 continuation byte starts none.
    const auto characters = std::count_if(line.begin(), line.end(), [](char ch) {
      return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    });
    widest = std::max(widest, static_cast<std::size_t>(characters));
  }
  const auto within = [](std::size_t value, int least, int most) {
    return static_cast<int>(std::clamp<std::size_t>(value, static_cast<std::size_t>(least), static_cast<std::size_t>(most)));
  };
  return {within(widest, kSmallestTextArea.Columns, kLargestTextArea.Columns),
          within(view.Lines.size(), kSmallestTextArea.Rows, kLargestTextArea.Rows)};
}

std::vector<std::string> DumpLines(std::span<const std::uint8_t> bytes) {
  std::vector<std::string> lines;
  lines.reserve((bytes.size() + kDumpWidth - 1) / kDumpWidth);
  for (std::size_t at = 0; at < bytes.size(); at += kDumpWidth) {
    const auto row = bytes.subspan(at, std::min(kDumpWidth, bytes.size() - at));
    std::string line;
    // Five digits reach past the most a file's sectors can hold (0xC7380).
    AppendHex(line, static_cast<unsigned>(at), 5);
    line += ' ';
    std::string characters;
    for (std::size_t i = 0; i < kDumpWidth; ++i) {
      line += i % 8 == 0 ? "  " : " ";
      if (i >= row.size()) {
        line += "  ";
        continue;
      }
      AppendHex(line, row[i], 2);
      characters += core::IsControlCode(row[i]) ? '.' : static_cast<char>(row[i]);
    }
    lines.push_back(line + "  " + core::Latin1ToUtf8(characters));
  }
  return lines;
}

FileView ViewOfFile(const core::DiskImageBuffer& disk, int slot) {
  const core::ConstDirEntry entry = core::DirSlot(disk, slot);
  FileView view;
  view.Caption = ShownName(entry) + " (" + FileNumber(slot) + ")";
  const std::vector<std::uint8_t> bytes = fileops::ExtractFileBytes(disk, slot);
  const int type = core::TypeIndex(entry.StatusType());

  if (type == core::kTypeBasic) {
    const formats::BasicListing listing = formats::ListBasicProgram(bytes);
    view.Kind = FileViewKind::Listing;
    view.Lines = SplitLines(listing.Text);
    if (!listing.EndMarkerFound) view.Note = FileNumber(slot) + ": " + formats::DescribeListingEnd(listing);
    return view;
  }
  if (type == core::kTypeScreen) {
    const formats::ScreenResult screen = formats::DecodeScreen(bytes, entry.ScreenMode());
    if (screen.Error.empty()) {
      view.Kind = FileViewKind::Picture;
      view.Picture = formats::ScaleToCanvas(screen.Picture.Image);
      if (const std::string palette = formats::DescribePalette(screen.Picture); !palette.empty()) {
        view.Note = FileNumber(slot) + " " + palette;
      }
      return view;
    }
    // What there is can still be looked at.
    view.Note = FileNumber(slot) + " is no picture: " + screen.Error;
  }
  view.Kind = FileViewKind::Dump;
  view.Lines = DumpLines(bytes);
  const std::uint32_t length = fileops::ExtractLength(entry);
  if (view.Note.empty() && bytes.size() < length) {
    view.Note = FileNumber(slot) + ": its sectors hold " + std::to_string(bytes.size()) + " of the " +
                std::to_string(length) + " bytes its entry gives";
  }
  return view;
}

}  // namespace vellonix::ui
