#include "image_builder.hpp"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace vellonix::imagekit {

using namespace vellonix::core;

namespace {

void PutPadded(std::span<std::uint8_t> field, std::string_view text) {
  std::fill(field.begin(), field.end(), std::uint8_t{' '});
  std::copy_n(text.begin(), std::min(text.size(), field.size()), field.begin());
}

}  // namespace

void SetFileName(DirEntry entry, std::string_view name) { PutPadded(entry.FileName(), name); }

std::vector<std::uint8_t> Pattern(std::size_t size, unsigned seed, unsigned step) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * step + seed) & 0xFF);
  return bytes;
}

std::vector<std::uint8_t> SamFileBody(std::uint8_t typeCode, std::span<const std::uint8_t> data,
                                      std::uint8_t startPage, std::uint16_t startOffset) {
  const auto size = static_cast<std::uint32_t>(data.size());
  const auto inPage = static_cast<std::uint16_t>(size % 16384);
  std::vector<std::uint8_t> body(9 + data.size());
  body[0] = typeCode;
  body[1] = static_cast<std::uint8_t>(inPage & 0xFF);
  body[2] = static_cast<std::uint8_t>(inPage >> 8);
  body[3] = static_cast<std::uint8_t>(startOffset & 0xFF);
  body[4] = static_cast<std::uint8_t>(startOffset >> 8);
  body[5] = 0xFF;
  body[6] = 0xFF;
  body[7] = static_cast<std::uint8_t>(size / 16384);
  body[8] = startPage;
  std::copy(data.begin(), data.end(), body.begin() + 9);
  return body;
}

std::vector<std::uint8_t> BasicLine(int number, std::span<const std::uint8_t> text) {
  const std::size_t length = text.size() + 1;
  std::vector<std::uint8_t> line;
  line.reserve(4 + length);
  for (const auto byte : {number >> 8, number, static_cast<int>(length), static_cast<int>(length >> 8)}) {
    line.push_back(static_cast<std::uint8_t>(byte & 0xFF));
  }
  line.insert(line.end(), text.begin(), text.end());
  line.push_back(0x0D);
  return line;
}

void AppendBasicNumber(std::vector<std::uint8_t>& text, std::uint16_t value) {
  for (const char digit : std::to_string(value)) text.push_back(static_cast<std::uint8_t>(digit));
  for (const int byte : {0x0E, 0x00, 0x00, value & 0xFF, value >> 8, 0x00}) {
    text.push_back(static_cast<std::uint8_t>(byte));
  }
}

ImageBuilder::ImageBuilder() : disk_(std::make_unique<DiskImageBuffer>()) { disk_->fill(0); }

ImageBuilder& ImageBuilder::MasterDos(std::string_view name, int extraDirTracks) {
  DirEntry slot0 = Entry(0);
  PutPadded(slot0.DiskName(), name);
  slot0.SetByte(DirEntryField::ExtraDirTracks, static_cast<std::uint8_t>(extraDirTracks));
  nextPosition_ = std::max(nextPosition_, extraDirTracks * kSectorsPerTrack);
  return *this;
}

ImageBuilder& ImageBuilder::BDos(std::string_view name) {
  DirEntry slot0 = Entry(0);
  std::string padded(name.substr(0, 16));
  padded.resize(16, ' ');
  PutPadded(slot0.DiskName(), std::string_view(padded).substr(0, 10));
  PutPadded(slot0.DiskNameTail(), std::string_view(padded).substr(10));
  constexpr std::string_view kSignature = "BDOS";
  std::copy(kSignature.begin(), kSignature.end(), slot0.BdosSignature().begin());
  return *this;
}

std::vector<SectorAddress> ImageBuilder::TakeSectors(int count) {
  if (nextPosition_ + count > kMapPositions) throw std::length_error("test image is full");
  std::vector<SectorAddress> sectors;
  for (int i = 0; i < count; ++i) sectors.push_back(MapPositionSector(nextPosition_++));
  return sectors;
}

DirEntry ImageBuilder::PlaceFile(int slot, std::uint8_t statusType, std::string_view name,
                                 std::span<const std::uint8_t> body) {
  const int count = std::max<int>(1, static_cast<int>((body.size() + kSectorPayload - 1) / kSectorPayload));
  const auto sectors = TakeSectors(count);
  return PlaceFileAt(slot, statusType, name, body, sectors);
}

DirEntry ImageBuilder::PlaceFileAt(int slot, std::uint8_t statusType, std::string_view name,
                                   std::span<const std::uint8_t> body, std::span<const SectorAddress> sectors) {
  DirEntry entry = Entry(slot);
  entry.SetStatusType(statusType);
  SetFileName(entry, name);
  entry.SetSectorCount(static_cast<int>(sectors.size()));
  entry.SetFirstSectorAddress(sectors.empty() ? SectorAddress{} : sectors.front());
  for (std::size_t k = 0; k < sectors.size(); ++k) {
    const std::int64_t offset = SectorOffset(sectors[k].Track, sectors[k].Sector);
    auto* sector = disk_->data() + offset;
    std::fill_n(sector, kBytesPerSector, std::uint8_t{0});
    const std::size_t from = k * kSectorPayload;
    if (from < body.size()) {
      std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(from), std::min<std::size_t>(kSectorPayload, body.size() - from),
                  sector);
    }
    const SectorAddress next = k + 1 < sectors.size() ? sectors[k + 1] : SectorAddress{};
    sector[kSectorLinkOffset] = next.Track;
    sector[kSectorLinkOffset + 1] = next.Sector;
    if (const auto position = SectorMapPosition(sectors[k])) SetMapBit(entry.SectorAddressMap(), *position);
  }
  return entry;
}

DirEntry ImageBuilder::PlaceSamFile(int slot, std::uint8_t typeCode, std::string_view name,
                                    std::span<const std::uint8_t> data) {
  const auto body = SamFileBody(typeCode, data);
  DirEntry entry = PlaceFile(slot, typeCode, name, body);
  // The directory repeats the header's fields.
  entry.SetByte(DirEntryField::StartPage, body[8]);
  entry.SetByte(DirEntryField::StartOffset, body[3]);
  entry.SetByte(DirEntryField::StartOffset + 1, body[4]);
  entry.SetByte(DirEntryField::LengthPages, body[7]);
  entry.SetByte(DirEntryField::LengthInPage, body[1]);
  entry.SetByte(DirEntryField::LengthInPage + 1, body[2]);
  return entry;
}

DirEntry ImageBuilder::PlaceCodeFile(int slot, std::string_view name, std::span<const std::uint8_t> data,
                                     std::optional<std::uint32_t> execAddress) {
  DirEntry entry = PlaceSamFile(slot, 19, name, data);
  if (execAddress) {
    entry.SetByte(DirEntryField::ExecPage, static_cast<std::uint8_t>(*execAddress / 16384));
    entry.SetWord(DirEntryField::ExecOffset, static_cast<std::uint16_t>(*execAddress % 16384 + 0x8000));
  } else {
    entry.SetByte(DirEntryField::ExecPage, 0xFF);
    entry.SetWord(DirEntryField::ExecOffset, 0xFFFF);
  }
  return entry;
}

}  // namespace vellonix::imagekit
