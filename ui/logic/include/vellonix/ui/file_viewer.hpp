// What View File shows of a SAM file, decoded by the same formats layer as
// vellonix-cli: a BASIC program as its listing, a SCREEN$ as its picture,
// anything else as a hex and character dump. The front-ends only draw it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vellonix/core/geometry.hpp"
#include "vellonix/formats/screen.hpp"

namespace vellonix::ui {

enum class FileViewKind { Listing, Picture, Dump };

struct FileView {
  FileViewKind Kind = FileViewKind::Dump;
  std::string Caption;             // the viewer window's: the file's name and number
  std::vector<std::string> Lines;  // Listing and Dump: UTF-8, one per line
  formats::RgbImage Picture;       // Picture: 512 x 384
  // What the user should know about the view (a program cut short, a
  // picture that is no picture); empty when there is nothing to say.
  std::string Note;

  // What Ctrl+C copies of a listing or a dump: every line, each ended by
  // `lineEnd`. Empty for a picture.
  std::string Text(std::string_view lineEnd = "\n") const;
};

// The text area a viewer window opens with, in characters of a
// fixed-width font: as wide as the widest line and as tall as the lines,
// within bounds that keep a short file readable and a long one on the
// screen (the window scrolls the rest).
struct TextArea {
  int Columns = 0;
  int Rows = 0;
};
inline constexpr TextArea kSmallestTextArea{40, 8};
inline constexpr TextArea kLargestTextArea{100, 32};
TextArea OpeningTextArea(const FileView& view);

// The view of the file in directory slot `slot`.
FileView ViewOfFile(const core::DiskImageBuffer& disk, int slot);

// Sixteen bytes a line: the offset, the bytes in hex in two groups of
// eight, then the bytes as characters: Latin-1, as the file list shows SAM
// names, with control codes as '.'.
std::vector<std::string> DumpLines(std::span<const std::uint8_t> bytes);

}  // namespace vellonix::ui
