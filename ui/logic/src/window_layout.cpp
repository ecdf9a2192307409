#include "vellonix/ui/window_layout.hpp"

#include <utility>

#include "vellonix/core/directory.hpp"
#include "vellonix/core/list_row.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/ui/dialog_layouts.hpp"

namespace vellonix::ui {

namespace {

std::string Repeated(std::string_view text, std::size_t times) {
  std::string result;
  for (std::size_t i = 0; i < times; ++i) result += text;
  return result;
}

// The most slots a directory can have, and so files in the list.
const std::string kMostSlots = std::to_string(core::kMaxDirSlots);

}  // namespace

std::vector<std::string> SamNameCharacters() {
  std::vector<std::string> characters;
  for (int code = 32; code < 256; ++code) {
    if (core::IsControlCode(static_cast<unsigned char>(code))) continue;  // nothing to see
    characters.push_back(core::Latin1ToUtf8(std::string(1, static_cast<char>(code))));
  }
  return characters;
}

std::string WidestNameCharacter(const std::function<int(std::string_view)>& width) {
  std::string widest;
  int most = -1;
  for (std::string& character : SamNameCharacters()) {
    if (const int measured = width(character); measured > most) {
      most = measured;
      widest = std::move(character);
    }
  }
  return widest;
}

std::vector<std::string> WidestColumnTexts(int column, std::string_view widest) {
  switch (column) {
    case 0: return {kMostSlots};
    case 1: return {Repeated(widest, core::DirEntryField::FileNameLength)};
    case 2: return {core::SizeText(0xFFFF)};  // the most sectors an entry can count
    case 3: return {core::FileTypeNames.begin(), core::FileTypeNames.end()};
    case 4: return {"Autostart at line 65535", "540671,795591,540671", "65535,65535", "Mode 4 screen"};
    case 5: return {"31-12-1999 23:59:59", "24-12-2092 18:30"};
    default: return {};
  }
}

std::vector<std::string> WidestPanelTexts(int panel, std::string_view widest) {
  switch (panel) {
    case 0: return {"SAM-DOS format", "MasterDOS format", "B-DOS format"};
    case 1: return {DiskNamePanelText(widest), "Disk has no name"};
    case 2: return {kMostSlots + " Files"};
    case 3: return {kMostSlots + " Corrupted files"};
    case 4: return {"780.0 K free", "-1600.0 K free"};
    default: return {};
  }
}

std::string DiskNamePanelText(std::string_view character) {
  constexpr std::size_t kLongest = core::DirEntryField::DiskNameLength + core::DirEntryField::DiskNameTailLength;
  return "Disk name: " + Repeated(character, kLongest);
}

std::string AboutVersionText() { return std::string("Version ") + VELLONIX_VERSION; }

}  // namespace vellonix::ui
