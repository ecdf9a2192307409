// Builds SAM disk images byte by byte, for the sample image and the tests:
// files are laid out as real chains with their headers, maps and links.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "vellonix/core/dir_entry.hpp"
#include "vellonix/core/geometry.hpp"

namespace vellonix::imagekit {

// Recognisable file data: byte i is (i x step + seed) mod 256.
std::vector<std::uint8_t> Pattern(std::size_t size, unsigned seed, unsigned step = 37);

// The nine-byte header and the data, as a SAM file's body.
std::vector<std::uint8_t> SamFileBody(std::uint8_t typeCode, std::span<const std::uint8_t> data,
                                      std::uint8_t startPage = 1, std::uint16_t startOffset = 0x8000);

// One line of a SAM BASIC program as stored: its number (high byte
// first), the length of what follows, `text` and the 0x0D that ends it.
std::vector<std::uint8_t> BasicLine(int number, std::span<const std::uint8_t> text);
// A whole number as a line stores it: its digits, then 0x0E and the five
// bytes of its small-integer form.
void AppendBasicNumber(std::vector<std::uint8_t>& text, std::uint16_t value);
// The end marker that follows a program's last line.
inline constexpr std::uint8_t kBasicEndMarker = 0xFF;

class ImageBuilder {
 public:
  ImageBuilder();  // an all-zero disk: SAM-DOS, no files

  core::DiskImageBuffer& Disk() { return *disk_; }
  const core::DiskImageBuffer& Disk() const { return *disk_; }
  core::DirEntry Entry(int slot) { return core::DirSlot(*disk_, slot); }

  // MasterDOS: the name in bytes 210-219 (padded with spaces), and the count
  // of extra directory tracks, whose sectors files then keep clear of.
  ImageBuilder& MasterDos(std::string_view name, int extraDirTracks = 0);
  // B-DOS: "BDOS" and the 16-character name split over 210-219 and 250-255.
  ImageBuilder& BDos(std::string_view name);

  // Writes `body` into the next free sectors as a linked chain and fills
  // the slot's StatusType, name, SectorCount, first sector and map.
  core::DirEntry PlaceFile(int slot, std::uint8_t statusType, std::string_view name,
                           std::span<const std::uint8_t> body);
  // The same at the given sectors, in the given order.
  core::DirEntry PlaceFileAt(int slot, std::uint8_t statusType, std::string_view name,
                             std::span<const std::uint8_t> body, std::span<const core::SectorAddress> sectors);

  // A SAM file of the given type with start page 1, offset 0x8000 and the
  // length fields of `data`, in its header and its entry.
  core::DirEntry PlaceSamFile(int slot, std::uint8_t typeCode, std::string_view name,
                              std::span<const std::uint8_t> data);

  // A SAM Code file (type 19) with start page 1, offset 0x8000, the length
  // fields of `data` and an execution address when given.
  core::DirEntry PlaceCodeFile(int slot, std::string_view name, std::span<const std::uint8_t> data,
                               std::optional<std::uint32_t> execAddress = std::nullopt);

  // The next sectors a placed file would take, in map order.
  std::vector<core::SectorAddress> TakeSectors(int count);

 private:
  std::unique_ptr<core::DiskImageBuffer> disk_;
  int nextPosition_ = 0;
};

// The file name field: the text cut or padded with spaces to 10 bytes.
void SetFileName(core::DirEntry entry, std::string_view name);

}  // namespace vellonix::imagekit
