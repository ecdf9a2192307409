// Importing other tools' images: each kind built here from one disk, read
// back byte for byte; damaged and lying images read nothing outside their
// bytes and say what is wrong.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "edsk_builder.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/formats/disk_import.hpp"

namespace {

using namespace vellonix;
namespace kit = vellonix::testing;
using kit::StoredSectorSpec;
using kit::TrackSpecs;
using Bytes = std::vector<std::uint8_t>;

class DiskImport : public ::testing::Test {
 protected:
  DiskImport() {
    std::mt19937 random(7);
    for (auto& byte : *disk_) byte = static_cast<std::uint8_t>(random());
  }

  Bytes SectorData(int cylinder, int head, int r) const {
    const auto start = disk_->begin() + static_cast<std::ptrdiff_t>(core::TrackSideOffset(head, cylinder) + (r - 1) * 512);
    return {start, start + 512};
  }

  // Every track skewed as SAM disks are: the sector list starts one
  // sector earlier on each cylinder.
  TrackSpecs SkewedTracks() const {
    TrackSpecs tracks(160);
    for (int cylinder = 0; cylinder < 80; ++cylinder) {
      for (int head = 0; head < 2; ++head) {
        for (int i = 0; i < 10; ++i) {
          const int r = (i - cylinder % 10 + 10) % 10 + 1;
          tracks[static_cast<std::size_t>(cylinder * 2 + head)].push_back(
              {static_cast<std::uint8_t>(cylinder), static_cast<std::uint8_t>(head), static_cast<std::uint8_t>(r), 2, 0,
               0, SectorData(cylinder, head, r)});
        }
      }
    }
    return tracks;
  }

  formats::ImportResult Import(const Bytes& file, std::string_view name = "in.dsk") {
    return formats::ImportDiskImage(file, name, *imported_);
  }

  std::unique_ptr<core::DiskImageBuffer> disk_ = std::make_unique<core::DiskImageBuffer>();
  std::unique_ptr<core::DiskImageBuffer> imported_ = std::make_unique<core::DiskImageBuffer>();
};

TEST_F(DiskImport, EveryKindReadsBackByteForByte) {
  const auto mgt = core::EncodeContainer(core::ContainerKind::Mgt, *disk_);
  const auto sad = core::EncodeContainer(core::ContainerKind::Sad, *disk_);
  Bytes headerless = sad;
  std::fill_n(headerless.begin(), core::kSadHeaderSize, 0);
  const struct {
    const char* Name;
    Bytes File;
    const char* Kind;
  } kinds[] = {
      {"disk.mgt", mgt, "MGT image"},
      {"disk.img", mgt, "raw image in MGT order"},
      {"disk.dsk", sad, "SAD image"},
      {"disk.SAD", headerless, "SAD image"},
      {"disk.dsk", kit::BuildEdsk(SkewedTracks()), "EDSK image"},
      {"disk.dsk", kit::BuildDsk(SkewedTracks()), "DSK image"},
  };
  for (const auto& kind : kinds) {
    std::fill(imported_->begin(), imported_->end(), 0);
    const auto result = Import(kind.File, kind.Name);
    ASSERT_TRUE(result.Imported) << kind.Kind << ": " << result.Error;
    EXPECT_EQ(result.Kind, kind.Kind);
    EXPECT_TRUE(result.Problems.empty()) << kind.Kind;
    EXPECT_TRUE(*imported_ == *disk_) << kind.Kind;
  }
}

TEST_F(DiskImport, MissingAndBadSectorsAreZeroFilledAndListed) {
  TrackSpecs tracks = SkewedTracks();
  auto& track3 = tracks[3];  // cylinder 1, side 1
  track3.erase(std::find_if(track3.begin(), track3.end(), [](const StoredSectorSpec& s) { return s.R == 4; }));
  std::find_if(track3.begin(), track3.end(), [](const StoredSectorSpec& s) { return s.R == 5; })->St2 = 0x20;
  std::find_if(track3.begin(), track3.end(), [](const StoredSectorSpec& s) { return s.R == 6; })->C = 9;
  std::find_if(track3.begin(), track3.end(), [](const StoredSectorSpec& s) { return s.R == 7; })->Data.resize(100);
  tracks[100].clear();  // cylinder 50, side 0, unformatted

  const auto result = Import(kit::BuildEdsk(tracks));
  ASSERT_TRUE(result.Imported) << result.Error;
  ASSERT_EQ(result.Problems.size(), 14u);
  const std::pair<int, std::string> expected[] = {{4, "missing"}, {5, "CRC error"}, {6, "missing"}, {7, "data cut short"}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(result.Problems[i].Cylinder, 1);
    EXPECT_EQ(result.Problems[i].Head, 1);
    EXPECT_EQ(result.Problems[i].Sector, expected[i].first);
    EXPECT_EQ(result.Problems[i].What, expected[i].second);
  }
  EXPECT_EQ(result.Problems[4].Cylinder, 50);

  core::DiskImageBuffer& expectedDisk = *disk_;
  for (const auto& problem : result.Problems) {
    std::fill_n(expectedDisk.begin() + static_cast<std::ptrdiff_t>(core::TrackSideOffset(problem.Head, problem.Cylinder) +
                                                                   (problem.Sector - 1) * 512),
                512, 0);
  }
  EXPECT_TRUE(*imported_ == expectedDisk);
}

TEST_F(DiskImport, OtherGeometriesAndUnknownBytesAreRefusedByName) {
  const struct {
    Bytes File;
    const char* Says;
  } refused[] = {
      {kit::BuildEdsk(TrackSpecs(80), 40, 1), "an EDSK image of 40 cylinders and 1 sides"},
      {Bytes(100, 0), "100 bytes without the signature"},
      {Bytes(core::kSadFileSize, 0), "819,222 bytes"},
      {[] {
         Bytes sad(core::kSadFileSize + 5120, 0);
         const std::string_view signature = "Yolt's disk backup";
         std::copy(signature.begin(), signature.end(), sad.begin());
         sad[18] = 2, sad[19] = 81, sad[20] = 10, sad[21] = 8;
         return sad;
       }(),
       "a SAD image of 824,342 bytes (2 sides, 81 tracks, 10 sectors of 512 bytes)"},
      {Bytes{'M', 'V', ' ', '-', ' ', 'C', 'P', 'C'}, "a DSK image cut short"},
  };
  std::fill(imported_->begin(), imported_->end(), 0x5A);
  for (const auto& file : refused) {
    const auto result = Import(file.File);
    EXPECT_FALSE(result.Imported);
    EXPECT_NE(result.Error.find(file.Says), std::string::npos) << result.Error;
  }
  EXPECT_TRUE(std::all_of(imported_->begin(), imported_->end(), [](std::uint8_t b) { return b == 0x5A; }));
}

TEST_F(DiskImport, LyingHeadersReadNothingOutsideTheFile) {
  const Bytes whole = kit::BuildEdsk(SkewedTracks());
  // Cut inside the tracks: what is there is read, the rest is missing.
  const auto cut = Import(Bytes(whole.begin(), whole.begin() + 256 + 0x1500 * 3 + 256 + 700));
  ASSERT_TRUE(cut.Imported);
  EXPECT_EQ(cut.Problems.size(), 1600u - 31u);  // three whole tracks and one sector of the fourth

  // Counts and lengths far beyond the data, and noise: never a crash.
  Bytes liar = whole;
  liar[256 + 0x15] = 255;                  // sectors in the first track
  liar[256 + 0x18 + 6] = 0xFF;             // a sector's length
  liar[256 + 0x18 + 7] = 0xFF;
  liar[0x34 + 1] = 0xFF;                   // a track's size
  EXPECT_TRUE(Import(liar).Imported);
  std::mt19937 random(3);
  for (int round = 0; round < 200; ++round) {
    Bytes noisy(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(random() % 20000));
    for (int i = 0; i < 40 && !noisy.empty(); ++i) noisy[random() % noisy.size()] = static_cast<std::uint8_t>(random());
    const auto result = Import(noisy);
    EXPECT_NE(result.Imported, !result.Error.empty());
  }
}

}  // namespace
