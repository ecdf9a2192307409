// One directory entry decoded into the texts and icons of its list row.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "vellonix/core/dir_entry.hpp"
#include "vellonix/core/geometry.hpp"

namespace vellonix::core {

// Type index (StatusType AND 0x1F, codes 23-31 folded to 22) -> Type column.
inline constexpr std::array<std::string_view, 23> FileTypeNames{
    "Erased",       "ZX Basic",        "ZX data array", "ZX string array", "ZX Code", "48K snapshot",
    "Microdrive file", "ZX Screen",    "Special",       "128K snapshot",   "OpenType", "N/A Execute",
    "Unknown",      "Unknown",         "Unknown",       "Unknown",         "Basic",   "Data array",
    "String array", "Code",            "SCREEN$",       "Directory",       "Unknown"};

// The type codes the row decoding treats specially.
inline constexpr int kTypeZxBasic = 1;
inline constexpr int kTypeZxCode = 4;
inline constexpr int kTypeBasic = 16;
inline constexpr int kTypeCode = 19;
inline constexpr int kTypeScreen = 20;

// Icons of ImageList1 by number.
namespace Icon {
inline constexpr int None = -1;
inline constexpr int Protected = 0;
inline constexpr int Hidden = 1;
inline constexpr int HiddenProtected = 2;
inline constexpr int Corrupted = 3;
inline constexpr int FirstType = 4;  // + type index, up to 26
inline constexpr int BasicAutostart = 27;
inline constexpr int CodeExecutable = 28;
inline constexpr int CodeSignature = 29;
inline constexpr int Count = 30;
}  // namespace Icon

// The first 16 data bytes of a Code file that carry the signature icon.
inline constexpr std::array<std::uint8_t, 16> CodeSignature{0xED, 0x73, 0x3D, 0x80, 0x31, 0x43, 0x80, 0xDB,
                                                            0xFA, 0xF5, 0xF3, 0xDB, 0xFC, 0xE6, 0x1F, 0xF6};

// The nine-byte file header comes before a file's data.
inline constexpr int kFileHeaderSize = 9;

int TypeIndex(std::uint8_t statusType);

// True when the 16 bytes after the header of the file's first sector are
// CodeSignature; false when the first sector is no disk's (IsDiskSector).
bool HasCodeSignature(DiskView disk, int slot);

// The sub-items of a row, in column order after the caption.
enum SubItem : int { kFilename = 0, kSize = 1, kType = 2, kDetails = 3, kDateStamp = 4 };

// A decoded row. Texts hold SAM bytes untranslated.
struct ListRow {
  int Slot = 0;
  std::string Caption;                // "File #": slot + 1
  std::array<std::string, 5> SubItems;
  int RowIcon = Icon::None;           // none or 0-3
  int NameIcon = Icon::FirstType;     // 4-29
  bool Corrupted = false;
  bool Protected = false;
  bool Hidden = false;
  friend bool operator==(const ListRow&, const ListRow&) = default;
};

ListRow DecodeRow(DiskView disk, int slot);

// The file in `slot` as a message names it, in SAM bytes: its File #, its
// name without the blanks around it and its type, as in File # 3 "loader"
// (Basic).
std::string FileSummary(const DiskImageBuffer& disk, int slot);

// Pieces of the row, for callers that show one field.
std::string FileNameText(ConstDirEntry entry);  // up to the first zero byte
std::string SizeText(int sectors);              // "1.5K"
std::string DateStampText(const DateStampBytes& stamp);  // empty when invalid

// Length of a SAM file from its page count and in-page length. The page
// count's bits 5-7 (files of 512 K and more) count only when the file's
// sectors hold that many bytes; otherwise they are taken for other data.
std::uint32_t SamFileLength(ConstDirEntry entry);
// Start address: the stored page plus one, and the offset without bit 15.
std::uint32_t SamStartAddress(ConstDirEntry entry);
// Execution address of a Code file: the stored page, the offset without bit 15.
std::uint32_t SamExecAddress(ConstDirEntry entry);

}  // namespace vellonix::core
