#include "vellonix/ui/window_layout.hpp"

#include "vellonix/core/list_row.hpp"
#include "vellonix/ui/dialog_layouts.hpp"

namespace vellonix::ui {

namespace {

constexpr std::string_view kFileNumbers[] = {"80"};
constexpr std::string_view kNames[] = {"MASTERDOS2", "Screen 1  ", "autoexec  "};
constexpr std::string_view kSizes[] = {"780.0K"};
constexpr std::string_view kDetails[] = {"Autostart at line 9999", "524288,491520,32768", "Mode 4 screen"};
constexpr std::string_view kDates[] = {"31-12-1999 23:59:59", "24-12-1992 18:30"};
constexpr std::string_view kDosFormats[] = {"SAM-DOS format", "MasterDOS format", "B-DOS format"};
constexpr std::string_view kDiskNames[] = {"Disk name: MASTERDOS UTILS ", "Disk has no name"};
constexpr std::string_view kFileCounts[] = {"80 Files"};
constexpr std::string_view kCorruptedCounts[] = {"80 Corrupted files"};
constexpr std::string_view kFreeSpace[] = {"780.0 K free", "-0.5 K free"};

}  // namespace

std::span<const std::string_view> UsualColumnTexts(int column) {
  switch (column) {
    case 0: return kFileNumbers;
    case 1: return kNames;
    case 2: return kSizes;
    case 3: return core::FileTypeNames;
    case 4: return kDetails;
    case 5: return kDates;
    default: return {};
  }
}

std::span<const std::string_view> UsualPanelTexts(int panel) {
  switch (panel) {
    case 0: return kDosFormats;
    case 1: return kDiskNames;
    case 2: return kFileCounts;
    case 3: return kCorruptedCounts;
    case 4: return kFreeSpace;
    default: return {};
  }
}

std::string AboutVersionText() { return std::string("Version ") + VELLONIX_VERSION; }

}  // namespace vellonix::ui
