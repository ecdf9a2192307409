// Any bytes as a file to import, read as `import` reads it: unpacked first
// when gzip-compressed, then recognised as a raw, MGT, SAD, EDSK or DSK
// image. Byte 0 picks the file's name (its extension counts for a SAD image
// without its signature); the rest is the file. An import either refuses,
// leaving the disk as it was, or gives a whole disk that saves as exactly
// 819,200 bytes of MGT and imports again unchanged; every sector it reports
// lies on the disk, once, and is zero past the bytes it says were kept.
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>

#include "fuzz_check.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/formats/disk_import.hpp"
#include "vellonix/formats/gzip_data.hpp"

namespace {

using namespace vellonix;

// Above any image of a SAM disk; smaller than the command's limit, so that
// a run stays fast.
constexpr std::size_t kUnpackLimit = 4 << 20;
constexpr std::uint8_t kUntouched = 0xA5;
constexpr std::array<std::string_view, 4> kNames{"in.dsk", "in.sad", "in.mgt", "in.img"};
constexpr std::array<std::string_view, 4> kProblems{"missing", "no data field", "CRC error", "data cut short"};

bool IsCpcKind(const formats::ImportResult& result) { return result.Kind == "EDSK image" || result.Kind == "DSK image"; }

void CheckProblems(const formats::ImportResult& result, const core::DiskImageBuffer& disk) {
  int previous = -1;
  bool allMissing = true;
  for (const formats::SectorProblem& problem : result.Problems) {
    FUZZ_CHECK(problem.Cylinder >= 0 && problem.Cylinder < core::kTracksPerSide && problem.Head >= 0 &&
                   problem.Head < core::kSides && problem.Sector >= 1 && problem.Sector <= core::kSectorsPerTrack,
               "a reported sector lies on the disk");
    const int index = (problem.Cylinder * core::kSides + problem.Head) * core::kSectorsPerTrack + problem.Sector - 1;
    FUZZ_CHECK(index > previous, "sectors are reported once each, in disk order");
    previous = index;
    const auto what = std::find(kProblems.begin(), kProblems.end(), problem.What);
    FUZZ_CHECK(what != kProblems.end(), "a reported sector says what is wrong with it");
    const bool nothingStored = what - kProblems.begin() < 2;
    FUZZ_CHECK(problem.Kept <= core::kBytesPerSector && (problem.Kept == 0 || !nothingStored) &&
                   (problem.What != "data cut short" || problem.Kept < core::kBytesPerSector),
               "a damaged sector keeps no more than a sector, a missing one nothing");
    allMissing = allMissing && problem.What == "missing";
    const std::size_t start =
        core::TrackSideOffset(problem.Head, problem.Cylinder) + std::size_t(problem.Sector - 1) * core::kBytesPerSector;
    static constexpr std::array<std::uint8_t, core::kBytesPerSector> kZeros{};
    FUZZ_CHECK(std::memcmp(disk.data() + start + problem.Kept, kZeros.data(), kZeros.size() - problem.Kept) == 0,
               "a reported sector is zero past the bytes kept");
    FUZZ_CHECK(!formats::DescribeProblem(problem).empty(), "a reported sector is described");
  }
  FUZZ_CHECK(IsCpcKind(result) || result.Problems.empty(), "only sector images lack sectors");
  FUZZ_CHECK(!allMissing || result.Problems.size() < static_cast<std::size_t>(core::kSectorsPerDisk),
             "an image with no sector of the disk is refused");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto disk = std::make_unique<core::DiskImageBuffer>();
  static const auto again = std::make_unique<core::DiskImageBuffer>();
  if (size == 0) return 0;
  const std::string_view name = kNames[data[0] % kNames.size()];
  std::span<const std::uint8_t> file(data + 1, size - 1);

  formats::GunzipResult unpacked;
  if (formats::IsGzip(file)) {
    unpacked = formats::Gunzip(file, kUnpackLimit);
    FUZZ_CHECK(unpacked.Bytes.size() <= kUnpackLimit, "gzip data never unpack past the limit");
    FUZZ_CHECK(unpacked.Error.empty() || unpacked.Bytes.empty(), "refused gzip data give no bytes");
    if (!unpacked.Error.empty()) return 0;
    file = unpacked.Bytes;
  }

  static const auto untouched = [] {
    auto bytes = std::make_unique<core::DiskImageBuffer>();
    bytes->fill(kUntouched);
    return bytes;
  }();
  *disk = *untouched;
  const formats::ImportResult result = formats::ImportDiskImage(file, name, *disk);
  FUZZ_CHECK(result.Imported == result.Error.empty(), "an import either succeeds or says why not");
  if (!result.Imported) {
    FUZZ_CHECK(std::memcmp(disk->data(), untouched->data(), disk->size()) == 0,
               "a refused import leaves the disk as it was");
    return 0;
  }
  FUZZ_CHECK(!result.Kind.empty(), "an import says what it read");
  CheckProblems(result, *disk);

  const std::vector<std::uint8_t> mgt = core::EncodeContainer(core::ContainerKind::Mgt, *disk);
  FUZZ_CHECK(mgt.size() == core::kMgtFileSize, "an imported disk saves as exactly 819,200 bytes");
  const formats::ImportResult back = formats::ImportDiskImage(mgt, "out.mgt", *again);
  FUZZ_CHECK(back.Imported && back.Problems.empty() && std::memcmp(again->data(), disk->data(), disk->size()) == 0,
             "an imported disk, saved, imports again unchanged");
  return 0;
}
