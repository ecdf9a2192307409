#include "vellonix/formats/disk_import.hpp"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

#include "vellonix/core/container.hpp"
#include "vellonix/core/text.hpp"

namespace vellonix::formats {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::string_view kEdskSignature = "EXTENDED CPC DSK";
constexpr std::string_view kDskSignature = "MV - CPC";
constexpr std::string_view kSadSignature = "Yolt's disk backup";
constexpr std::string_view kTrackSignature = "Track-Info";
constexpr std::size_t kDiskInfoSize = 0x100;
constexpr std::size_t kTrackInfoSize = 0x100;
constexpr std::size_t kSectorInfoStart = 0x18;
constexpr std::size_t kSectorInfoSize = 8;
constexpr std::uint8_t kSamSizeCode = 2;  // 128 << 2 = 512 bytes

bool StartsWith(Bytes bytes, std::string_view text) {
  return bytes.size() >= text.size() && std::memcmp(bytes.data(), text.data(), text.size()) == 0;
}

std::size_t Word(Bytes bytes, std::size_t at) { return bytes[at] | static_cast<std::size_t>(bytes[at + 1]) << 8; }

// One sector as a track block lists it, with the data stored for it (as
// much of it as the file holds).
struct StoredSector {
  std::uint8_t C = 0;
  std::uint8_t R = 0;
  std::uint8_t N = 0;
  std::uint8_t St1 = 0;
  std::uint8_t St2 = 0;
  Bytes Data;
};

// The sectors of one track block, which is `block` cut to the file's end.
// A block without its signature lists no sectors.
std::vector<StoredSector> ReadTrack(Bytes block, bool extended) {
  std::vector<StoredSector> sectors;
  if (block.size() < kTrackInfoSize || !StartsWith(block, kTrackSignature)) return sectors;
  const std::size_t count = block[0x15];
  const std::size_t listEnd = kSectorInfoStart + count * kSectorInfoSize;
  // Long sector lists run on past the first 256 bytes, which then grow to
  // the next multiple of 256.
  std::size_t data = std::max(kTrackInfoSize, (listEnd + kTrackInfoSize - 1) / kTrackInfoSize * kTrackInfoSize);
  const std::uint8_t trackSizeCode = std::min<std::uint8_t>(block[0x14], 8);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t info = kSectorInfoStart + i * kSectorInfoSize;
    if (info + kSectorInfoSize > block.size()) break;
    const std::size_t length = extended ? Word(block, info + 6) : std::size_t{128} << trackSizeCode;
    const std::size_t start = std::min(data, block.size());
    const std::size_t end = std::min(data + length, block.size());
    sectors.push_back({block[info], block[info + 2], block[info + 3], block[info + 4], block[info + 5],
                       block.subspan(start, end - start)});
    data += length;
  }
  return sectors;
}

// What a stored copy gives of its sector: its fault (empty for a good
// copy) and how many of its bytes can be kept.
struct Copy {
  const StoredSector* Sector = nullptr;
  std::string Fault = "missing";
  std::size_t Kept = 0;
  int Rank() const { return Sector == nullptr ? 0 : Fault.empty() ? 3 : Kept > 0 ? 2 : 1; }
};

Copy Assess(const StoredSector& sector) {
  Copy copy{&sector, {}, std::min<std::size_t>(sector.Data.size(), core::kBytesPerSector)};
  if ((sector.St1 & 0x01) != 0 || (sector.St2 & 0x01) != 0) {
    copy.Fault = "no data field";  // whatever is stored was never read from the disk
    copy.Kept = 0;
  } else if ((sector.St1 & 0x20) != 0 || (sector.St2 & 0x20) != 0) {
    copy.Fault = "CRC error";
  } else if (copy.Kept < core::kBytesPerSector) {
    copy.Fault = "data cut short";
  }
  return copy;
}

// The copy of sector (cylinder, r) to take: a good one before a damaged
// one, a damaged one by the bytes it keeps, the first of equals.
Copy BestCopy(const std::vector<StoredSector>& sectors, int cylinder, int r) {
  Copy best;
  for (const StoredSector& sector : sectors) {
    if (sector.C != cylinder || sector.R != r || sector.N != kSamSizeCode) continue;
    const Copy copy = Assess(sector);
    if (copy.Rank() > best.Rank() || (copy.Rank() == best.Rank() && copy.Kept > best.Kept)) best = copy;
  }
  return best;
}

std::size_t DiskOffset(int cylinder, int head, int sector) {
  return static_cast<std::size_t>(core::TrackSideOffset(head, cylinder)) +
         static_cast<std::size_t>(sector - 1) * core::kBytesPerSector;
}

ImportResult ImportCpcImage(Bytes file, bool extended, core::DiskImageBuffer& disk) {
  ImportResult result;
  const std::string kind = extended ? "EDSK image" : "DSK image";
  const std::string named = (extended ? "an " : "a ") + kind;
  if (file.size() < kDiskInfoSize) {
    result.Error = named + " cut short inside its 256-byte header";
    return result;
  }
  const int cylinders = file[0x30];
  const int sides = extended ? file[0x31] & 0x7F : file[0x31];
  if (sides != core::kSides || cylinders < core::kTracksPerSide) {
    result.Error = named + " of " + std::to_string(cylinders) + " cylinders and " + std::to_string(sides) +
                   " sides; a SAM disk has 80 cylinders and 2 sides";
    return result;
  }

  auto buffer = std::make_unique<core::DiskImageBuffer>();
  std::size_t offset = kDiskInfoSize;
  std::size_t listed = 0;
  int found = 0;
  for (int cylinder = 0; cylinder < core::kTracksPerSide; ++cylinder) {
    for (int head = 0; head < core::kSides; ++head) {
      const std::size_t track = static_cast<std::size_t>(cylinder) * core::kSides + static_cast<std::size_t>(head);
      const std::size_t size = extended ? std::size_t{file[0x34 + track]} << 8 : Word(file, 0x32);
      const std::size_t start = std::min(offset, file.size());
      const auto sectors = ReadTrack(file.subspan(start, std::min(size, file.size() - start)), extended);
      offset += size;
      listed += sectors.size();
      for (int r = 1; r <= core::kSectorsPerTrack; ++r) {
        const Copy copy = BestCopy(sectors, cylinder, r);
        found += copy.Sector != nullptr ? 1 : 0;
        // The fresh buffer holds zeros past what is kept.
        if (copy.Kept > 0) {
          std::copy_n(copy.Sector->Data.begin(), copy.Kept,
                      buffer->begin() + static_cast<std::ptrdiff_t>(DiskOffset(cylinder, head, r)));
        }
        if (!copy.Fault.empty()) result.Problems.push_back({cylinder, head, r, copy.Fault, copy.Kept});
      }
    }
  }
  // A disk made of nothing but zeros would pass for a blank one.
  if (found == 0) {
    result.Problems.clear();
    result.Error = listed == 0 ? named + " whose tracks hold no sectors"
                               : named + " none of whose " + std::to_string(listed) +
                                     " sectors is a SAM disk's (cylinders 0-79, sectors 1-10 of 512 bytes)";
    return result;
  }
  if (cylinders > core::kTracksPerSide) {
    result.Notes.push_back("cylinders 80-" + std::to_string(cylinders - 1) +
                           " of the image are past a SAM disk's end and were left out");
  }
  disk = *buffer;
  result.Imported = true;
  result.Kind = kind;
  return result;
}

}  // namespace

std::string DescribeProblem(const SectorProblem& problem) {
  std::string text = "cylinder " + std::to_string(problem.Cylinder) + ", side " + std::to_string(problem.Head) +
                     ", sector " + std::to_string(problem.Sector) + ": " + problem.What;
  if (problem.Kept == 0) return text + ", filled with zeros";
  if (problem.Kept >= core::kBytesPerSector) return text + ", its bytes kept as stored";
  return text + ", its first " + std::to_string(problem.Kept) + " bytes kept as stored, the rest filled with zeros";
}

ImportResult ImportDiskImage(Bytes file, std::string_view fileName, core::DiskImageBuffer& disk) {
  ImportResult result;
  // What the program itself opens is read as it opens it, whatever its
  // first bytes spell: a disk's first sector may begin with a signature.
  if (const auto container = core::RecogniseContainer(file.size(), fileName)) {
    core::DecodeContainer(*container, file, disk);
    result.Imported = true;
    result.Kind = *container == core::ContainerKind::Mgt ? "MGT image" : "SAD image";
    return result;
  }
  if (StartsWith(file, kEdskSignature)) return ImportCpcImage(file, true, disk);
  if (StartsWith(file, kDskSignature)) return ImportCpcImage(file, false, disk);

  const bool sadSignature = StartsWith(file, kSadSignature);
  if (file.size() == core::kSadFileSize && sadSignature) {
    core::DecodeContainer(core::ContainerKind::Sad, file, disk);
    result.Kind = "SAD image";
  } else if (sadSignature && file.size() != core::kMgtFileSize) {
    const auto geometry = file.size() >= core::kSadHeaderSize ? file.subspan(18, 4) : Bytes{};
    result.Error = "a SAD image of " + core::GroupedThousands(file.size()) + " bytes" +
                   (geometry.empty() ? std::string()
                                     : " (" + std::to_string(geometry[0]) + " sides, " + std::to_string(geometry[1]) +
                                           " tracks, " + std::to_string(geometry[2]) + " sectors of " +
                                           std::to_string(geometry[3] * 64) + " bytes)") +
                   "; a SAM disk's has 2 sides, 80 tracks, 10 sectors of 512 bytes";
    return result;
  } else if (file.size() == core::kMgtFileSize) {
    core::DecodeContainer(core::ContainerKind::Mgt, file, disk);
    result.Kind = "raw image in MGT order";
  } else {
    result.Error = core::GroupedThousands(file.size()) +
                   " bytes without the signature of an EDSK, DSK or SAD image, and no raw image's 819,200";
    return result;
  }
  result.Imported = true;
  return result;
}

}  // namespace vellonix::formats
