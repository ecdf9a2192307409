// The 256-byte directory entry, read and written by field name. Numbers are
// little-endian, except SectorCount, which is stored high byte first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <type_traits>

#include "vellonix/core/disk_view.hpp"
#include "vellonix/core/geometry.hpp"

namespace vellonix::core {

namespace DirEntryField {
inline constexpr std::size_t StatusType = 0;
inline constexpr std::size_t FileName = 1;
inline constexpr std::size_t FileNameLength = 10;
inline constexpr std::size_t SectorCount = 11;  // high byte at 11, low byte at 12
inline constexpr std::size_t FirstTrack = 13;
inline constexpr std::size_t FirstSector = 14;
inline constexpr std::size_t SectorAddressMap = 15;
inline constexpr std::size_t SectorAddressMapLength = kMapBytes;
inline constexpr std::size_t DiskName = 210;  // slot 0 only
inline constexpr std::size_t DiskNameLength = 10;
inline constexpr std::size_t ZxLength = 212;
inline constexpr std::size_t ZxStart = 214;
inline constexpr std::size_t ZxAutostart = 218;
inline constexpr std::size_t AddedFileMarker = 220;  // a space in files this program adds
inline constexpr std::size_t ScreenMode = 221;
inline constexpr std::size_t HeaderCopy = 221;
inline constexpr std::size_t HeaderCopyLength = 9;
inline constexpr std::size_t BdosSignature = 232;  // slot 0 only
inline constexpr std::size_t BdosSignatureLength = 4;
inline constexpr std::size_t StartPage = 236;
inline constexpr std::size_t StartOffset = 237;
inline constexpr std::size_t LengthPages = 239;
inline constexpr std::size_t LengthInPage = 240;
inline constexpr std::size_t ExecPage = 242;
inline constexpr std::size_t ExecOffset = 243;
inline constexpr std::size_t DateStamp = 245;  // day, month, year - 1900, hour, minute
inline constexpr std::size_t DateStampLength = 5;
inline constexpr std::size_t DiskNameTail = 250;  // slot 0 only, B-DOS
inline constexpr std::size_t DiskNameTailLength = 6;
inline constexpr std::size_t ExtraDirTracks = 255;  // slot 0 only, MasterDOS
}  // namespace DirEntryField

// StatusType bits.
inline constexpr std::uint8_t kTypeCodeMask = 0x1F;
inline constexpr std::uint8_t kProtectedBit = 0x40;
inline constexpr std::uint8_t kHiddenBit = 0x80;

// The five date-stamp bytes as stored.
struct DateStampBytes {
  std::uint8_t Day = 0;
  std::uint8_t Month = 0;
  std::uint8_t Year = 0;
  std::uint8_t Hour = 0;
  std::uint8_t Minute = 0;
};

// A view of one entry. Byte is std::uint8_t for a writable view and
// const std::uint8_t for a read-only one; setters exist only on the former.
template <typename Byte>
class BasicDirEntry {
  static_assert(std::is_same_v<std::remove_const_t<Byte>, std::uint8_t>);
  static constexpr bool kWritable = !std::is_const_v<Byte>;

 public:
  explicit BasicDirEntry(std::span<Byte, kDirEntrySize> bytes) : bytes_(bytes) {}

  // A writable view converts to a read-only one.
  operator BasicDirEntry<const std::uint8_t>() const  // NOLINT(google-explicit-constructor)
    requires kWritable
  {
    return BasicDirEntry<const std::uint8_t>(std::span<const std::uint8_t, kDirEntrySize>(bytes_));
  }

  std::span<Byte, kDirEntrySize> Bytes() const { return bytes_; }
  std::uint8_t Byte8(std::size_t offset) const { return bytes_[offset]; }
  std::uint16_t Word(std::size_t offset) const {
    return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
  }

  std::uint8_t StatusType() const { return bytes_[DirEntryField::StatusType]; }
  std::uint8_t TypeCode() const { return StatusType() & kTypeCodeMask; }
  bool IsProtected() const { return (StatusType() & kProtectedBit) != 0; }
  bool IsHidden() const { return (StatusType() & kHiddenBit) != 0; }
  // Free slot: erased or never used.
  bool IsFree() const { return StatusType() == 0; }
  // A slot never used: it and every later slot are outside the directory.
  bool EndsDirectory() const { return StatusType() == 0 && bytes_[DirEntryField::FileName] == 0; }

  std::span<Byte, DirEntryField::FileNameLength> FileName() const {
    return bytes_.template subspan<DirEntryField::FileName, DirEntryField::FileNameLength>();
  }
  int SectorCount() const {
    return (bytes_[DirEntryField::SectorCount] << 8) | bytes_[DirEntryField::SectorCount + 1];
  }
  std::uint8_t FirstTrack() const { return bytes_[DirEntryField::FirstTrack]; }
  std::uint8_t FirstSector() const { return bytes_[DirEntryField::FirstSector]; }
  SectorAddress FirstSectorAddress() const { return {FirstTrack(), FirstSector()}; }
  std::span<Byte, DirEntryField::SectorAddressMapLength> SectorAddressMap() const {
    return bytes_.template subspan<DirEntryField::SectorAddressMap, DirEntryField::SectorAddressMapLength>();
  }

  std::uint16_t ZxLength() const { return Word(DirEntryField::ZxLength); }
  std::uint16_t ZxStart() const { return Word(DirEntryField::ZxStart); }
  std::uint16_t ZxAutostart() const { return Word(DirEntryField::ZxAutostart); }
  std::uint8_t ScreenMode() const { return bytes_[DirEntryField::ScreenMode]; }

  std::uint8_t StartPage() const { return bytes_[DirEntryField::StartPage]; }
  std::uint16_t StartOffset() const { return Word(DirEntryField::StartOffset); }
  std::uint8_t LengthPages() const { return bytes_[DirEntryField::LengthPages]; }
  std::uint16_t LengthInPage() const { return Word(DirEntryField::LengthInPage); }
  std::uint8_t ExecPage() const { return bytes_[DirEntryField::ExecPage]; }
  std::uint16_t ExecOffset() const { return Word(DirEntryField::ExecOffset); }

  DateStampBytes DateStamp() const {
    const auto* d = &bytes_[DirEntryField::DateStamp];
    return {d[0], d[1], d[2], d[3], d[4]};
  }

  std::span<Byte, DirEntryField::DiskNameLength> DiskName() const {
    return bytes_.template subspan<DirEntryField::DiskName, DirEntryField::DiskNameLength>();
  }
  std::span<Byte, DirEntryField::BdosSignatureLength> BdosSignature() const {
    return bytes_.template subspan<DirEntryField::BdosSignature, DirEntryField::BdosSignatureLength>();
  }
  std::span<Byte, DirEntryField::DiskNameTailLength> DiskNameTail() const {
    return bytes_.template subspan<DirEntryField::DiskNameTail, DirEntryField::DiskNameTailLength>();
  }
  std::uint8_t ExtraDirTracks() const { return bytes_[DirEntryField::ExtraDirTracks]; }

  // Writers.
  void SetByte(std::size_t offset, std::uint8_t value) const
    requires kWritable
  {
    bytes_[offset] = value;
  }
  void SetWord(std::size_t offset, std::uint16_t value) const
    requires kWritable
  {
    bytes_[offset] = static_cast<std::uint8_t>(value & 0xFF);
    bytes_[offset + 1] = static_cast<std::uint8_t>(value >> 8);
  }
  void SetStatusType(std::uint8_t value) const
    requires kWritable
  {
    bytes_[DirEntryField::StatusType] = value;
  }
  void SetSectorCount(int count) const
    requires kWritable
  {
    bytes_[DirEntryField::SectorCount] = static_cast<std::uint8_t>((count >> 8) & 0xFF);
    bytes_[DirEntryField::SectorCount + 1] = static_cast<std::uint8_t>(count & 0xFF);
  }
  void SetFirstSectorAddress(SectorAddress address) const
    requires kWritable
  {
    bytes_[DirEntryField::FirstTrack] = address.Track;
    bytes_[DirEntryField::FirstSector] = address.Sector;
  }
  void SetDateStamp(const DateStampBytes& stamp) const
    requires kWritable
  {
    auto* d = &bytes_[DirEntryField::DateStamp];
    d[0] = stamp.Day;
    d[1] = stamp.Month;
    d[2] = stamp.Year;
    d[3] = stamp.Hour;
    d[4] = stamp.Minute;
  }

 private:
  std::span<Byte, kDirEntrySize> bytes_;
};

using DirEntry = BasicDirEntry<std::uint8_t>;
using ConstDirEntry = BasicDirEntry<const std::uint8_t>;

inline void CheckSlot(int slot) {
  if (slot < 0 || slot >= kMaxDirSlots) throw std::out_of_range("directory slot outside the disk");
}

inline ConstDirEntry DirSlot(DiskView disk, int slot) { return ConstDirEntry(disk.Slot(slot)); }

inline DirEntry DirSlot(DiskImageBuffer& disk, int slot) {
  CheckSlot(slot);
  return DirEntry(std::span<std::uint8_t, kDirEntrySize>(disk.data() + SlotOffset(slot), kDirEntrySize));
}

// Map position p is bit (p mod 8) of map byte p div 8.
inline bool MapBit(std::span<const std::uint8_t, kMapBytes> map, int position) {
  return (map[static_cast<std::size_t>(position / 8)] >> (position % 8) & 1) != 0;
}
inline void SetMapBit(std::span<std::uint8_t, kMapBytes> map, int position) {
  map[static_cast<std::size_t>(position / 8)] |= static_cast<std::uint8_t>(1u << (position % 8));
}

}  // namespace vellonix::core
