#include "vellonix/core/list_row.hpp"

#include <algorithm>
#include <array>
#include <charconv>

#include "vellonix/core/directory.hpp"
#include "vellonix/core/text.hpp"

namespace vellonix::core {

namespace {

constexpr std::uint32_t kPageSize = 16384;

// A date stamp's text, built in place: it is made for every file listed.
class StampText {
 public:
  // `value` (0 or more) in decimal after `separator` (none when 0), with a
  // leading "0" below 10 when `padded`; larger values keep all digits.
  StampText& Put(char separator, int value, bool padded = true) {
    if (separator != 0) *at_++ = separator;
    if (padded && value < 10) *at_++ = '0';
    at_ = std::to_chars(at_, text_.data() + text_.size(), value).ptr;
    return *this;
  }
  std::string Text() const { return std::string(text_.data(), static_cast<std::size_t>(at_ - text_.data())); }

 private:
  // Six fields of at most four digits (a year) or three (a byte), five separators.
  std::array<char, 32> text_{};
  char* at_ = text_.data();
};

std::uint32_t PageAddress(std::uint8_t page, std::uint8_t low, std::uint8_t high) {
  return (page & 0x1Fu) * kPageSize + low + (high & 0x7Fu) * 256u;
}

}  // namespace

int TypeIndex(std::uint8_t statusType) { return std::min(statusType & kTypeCodeMask, 22); }

bool HasCodeSignature(DiskView disk, int slot) {
  const ConstDirEntry entry = DirSlot(disk, slot);
  // A first sector no disk has holds no file's bytes, wherever its offset falls.
  if (!IsDiskSector(entry.FirstTrack(), entry.FirstSector())) return false;
  const auto data = disk.Sector(entry.FirstSectorAddress()).subspan<kFileHeaderSize, CodeSignature.size()>();
  return std::equal(CodeSignature.begin(), CodeSignature.end(), data.begin());
}

std::string FileNameText(ConstDirEntry entry) { return UpToFirstZero(entry.FileName()); }

std::string SizeText(int sectors) { return std::to_string(sectors / 2) + (sectors % 2 != 0 ? ".5K" : ".0K"); }

std::string DateStampText(const DateStampBytes& s) {
  if (s.Day < 1 || s.Day > 31 || s.Year < 80 || s.Year > 254 || s.Month < 1) return {};
  const int year = s.Year + 1900;
  if (s.Month <= 12) {
    return StampText().Put(0, s.Day).Put('-', s.Month).Put('-', year, false).Put(' ', s.Hour).Put(':', s.Minute).Text();
  }
  if (s.Month < 128) return {};
  // Packed form: the month in bits 3-6 of its byte, the hour in bits 3-7 of
  // its byte, the minute split over both, the seconds halved.
  const int month = (s.Month >> 3) & 0x0F;
  const int hour = (s.Hour >> 3) & 0x1F;
  const int minute = ((s.Minute >> 2) & 0x38) + (s.Hour & 7);
  const int seconds = (s.Minute & 0x1F) * 2;
  return StampText()
      .Put(0, s.Day)
      .Put('-', month)
      .Put('-', year, false)
      .Put(' ', hour)
      .Put(':', minute)
      .Put(':', seconds)
      .Text();
}

std::uint32_t SamFileLength(ConstDirEntry e) {
  const std::uint32_t masked =
      PageAddress(e.LengthPages(), e.Byte8(DirEntryField::LengthInPage), e.Byte8(DirEntryField::LengthInPage + 1));
  // Files of 512 K and more need the page count's bits 5-7, which other
  // writers may use for something else: the whole byte counts only when the
  // file's sectors hold that many bytes after the header.
  const std::uint32_t whole = masked + (e.LengthPages() & ~0x1Fu) * kPageSize;
  const std::int64_t capacity = std::int64_t{e.SectorCount()} * kSectorPayload - kFileHeaderSize;
  return whole <= capacity ? whole : masked;
}

std::uint32_t SamStartAddress(ConstDirEntry e) {
  return PageAddress(static_cast<std::uint8_t>(e.StartPage() + 1), e.Byte8(DirEntryField::StartOffset),
                     e.Byte8(DirEntryField::StartOffset + 1));
}

std::uint32_t SamExecAddress(ConstDirEntry e) {
  return PageAddress(e.ExecPage(), e.Byte8(DirEntryField::ExecOffset), e.Byte8(DirEntryField::ExecOffset + 1));
}

ListRow DecodeRow(DiskView disk, int slot) {
  const ConstDirEntry e = DirSlot(disk, slot);
  ListRow row;
  row.Slot = slot;
  row.Caption = std::to_string(slot + 1);
  row.Protected = e.IsProtected();
  row.Hidden = e.IsHidden();
  row.Corrupted = !TestFile(disk, slot);
  row.RowIcon = row.Corrupted ? Icon::Corrupted : ((e.StatusType() >> 6) & 3) - 1;

  const int type = TypeIndex(e.StatusType());
  row.SubItems[kFilename] = FileNameText(e);
  row.SubItems[kSize] = SizeText(e.SectorCount());
  row.SubItems[kType] = std::string(FileTypeNames[static_cast<std::size_t>(type)]);
  row.NameIcon = Icon::FirstType + type;

  std::string& details = row.SubItems[kDetails];
  switch (type) {
    case kTypeZxBasic:
      if (e.Byte8(DirEntryField::ZxAutostart + 1) < 253) details = "Autostart at line " + std::to_string(e.ZxAutostart());
      break;
    case kTypeZxCode:
      details = std::to_string(e.ZxStart()) + "," + std::to_string(e.ZxLength());
      break;
    case kTypeBasic:
      if ((e.ExecPage() & 0xC0) == 0) {
        row.NameIcon = Icon::BasicAutostart;
        details = "Autostart at line " + std::to_string(e.ExecOffset());
      }
      break;
    case kTypeCode:
      details = std::to_string(SamStartAddress(e)) + "," + std::to_string(SamFileLength(e));
      if (e.ExecPage() != 255) {
        row.NameIcon = Icon::CodeExecutable;
        details += ',';
        details += std::to_string(SamExecAddress(e));
      }
      if (HasCodeSignature(disk, slot)) row.NameIcon = Icon::CodeSignature;
      break;
    case kTypeScreen:
      details = "Mode " + std::to_string(e.ScreenMode() + 1) + " screen";
      break;
    default:
      break;
  }

  row.SubItems[kDateStamp] = DateStampText(e.DateStamp());
  return row;
}

std::string FileSummary(const DiskImageBuffer& disk, int slot) {
  const ListRow row = DecodeRow(disk, slot);
  std::string_view name = row.SubItems[kFilename];
  const auto blank = [](char ch) { return static_cast<unsigned char>(ch) <= ' '; };
  while (!name.empty() && blank(name.front())) name.remove_prefix(1);
  while (!name.empty() && blank(name.back())) name.remove_suffix(1);
  return "File # " + row.Caption + " \"" + std::string(name) + "\" (" + row.SubItems[kType] + ")";
}

}  // namespace vellonix::core
