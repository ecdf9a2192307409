// Importing other tools' images: each kind built here from one disk, read
// back byte for byte; damaged and lying images read nothing outside their
// bytes and say what is wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
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

// A disk's first sector may begin with any bytes, another format's
// signature among them, and the program reads a SAD file whatever its
// header holds: an image the program opens is read as it opens it, and a
// raw image of a disk's size is no broken SAD image.
TEST_F(DiskImport, ADiskBeginningWithASignatureIsReadAsWhatItsSizeAndNameSay) {
  const struct {
    std::string_view Signature;
    core::ContainerKind Container;
    const char* Name;
    const char* Kind;
  } cases[] = {
      {"EXTENDED CPC DSK File", core::ContainerKind::Mgt, "disk.mgt", "MGT image"},
      {"MV - CPCEMU Disk-File", core::ContainerKind::Mgt, "disk.MGT", "MGT image"},
      {"Yolt's disk backup", core::ContainerKind::Mgt, "disk.mgt", "MGT image"},
      {"Yolt's disk backup", core::ContainerKind::Mgt, "disk.img", "raw image in MGT order"},
      {"EXTENDED CPC DSK File", core::ContainerKind::Sad, "disk.sad", "SAD image"},
  };
  for (const auto& c : cases) {
    if (c.Container == core::ContainerKind::Mgt) std::copy(c.Signature.begin(), c.Signature.end(), disk_->begin());
    Bytes file = core::EncodeContainer(c.Container, *disk_);
    if (c.Container == core::ContainerKind::Sad) std::copy(c.Signature.begin(), c.Signature.end(), file.begin());
    const auto result = Import(file, c.Name);
    ASSERT_TRUE(result.Imported) << c.Signature << " " << c.Name << ": " << result.Error;
    EXPECT_EQ(result.Kind, c.Kind) << c.Signature << " " << c.Name;
    EXPECT_TRUE(*imported_ == *disk_) << c.Signature << " " << c.Name;
  }
}

// A damaged copy keeps what it stores (a CRC error is usually a bit or
// two); only what no copy stores is zero-filled.
TEST_F(DiskImport, DamagedSectorsKeepTheirBytesAndMissingOnesAreZeroFilled) {
  TrackSpecs tracks = SkewedTracks();
  auto& track3 = tracks[3];  // cylinder 1, side 1
  const auto sector = [&](int r) {
    return std::find_if(track3.begin(), track3.end(), [r](const StoredSectorSpec& s) { return s.R == r; });
  };
  track3.erase(sector(4));
  sector(5)->St2 = 0x20;
  sector(6)->C = 9;  // another cylinder's ID: sector 6 of this one is missing
  sector(7)->Data.resize(100);
  sector(8)->St1 = 0x01;
  tracks[100].clear();  // cylinder 50, side 0, unformatted

  const auto result = Import(kit::BuildEdsk(tracks));
  ASSERT_TRUE(result.Imported) << result.Error;
  ASSERT_EQ(result.Problems.size(), 15u);
  const struct {
    int Sector;
    std::string What;
    std::size_t Kept;
    std::string Described;
  } expected[] = {
      {4, "missing", 0, "cylinder 1, side 1, sector 4: missing, filled with zeros"},
      {5, "CRC error", 512, "cylinder 1, side 1, sector 5: CRC error, its bytes kept as stored"},
      {6, "missing", 0, "cylinder 1, side 1, sector 6: missing, filled with zeros"},
      {7, "data cut short", 100,
       "cylinder 1, side 1, sector 7: data cut short, its first 100 bytes kept as stored, the rest filled with zeros"},
      {8, "no data field", 0, "cylinder 1, side 1, sector 8: no data field, filled with zeros"},
  };
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const formats::SectorProblem& problem = result.Problems[i];
    EXPECT_EQ(problem.Sector, expected[i].Sector);
    EXPECT_EQ(problem.What, expected[i].What);
    EXPECT_EQ(problem.Kept, expected[i].Kept);
    EXPECT_EQ(formats::DescribeProblem(problem), expected[i].Described);
  }
  EXPECT_EQ(result.Problems[5].Cylinder, 50);

  core::DiskImageBuffer& expectedDisk = *disk_;
  for (const auto& problem : result.Problems) {
    const auto start = core::TrackSideOffset(problem.Head, problem.Cylinder) + (problem.Sector - 1) * 512;
    std::fill(expectedDisk.begin() + static_cast<std::ptrdiff_t>(start + problem.Kept),
              expectedDisk.begin() + static_cast<std::ptrdiff_t>(start + 512), 0);
  }
  EXPECT_TRUE(*imported_ == expectedDisk);
}

// Tools that read a sector again after an error store each try: the copy
// that gives the most of the sector wins, the first of equals.
TEST_F(DiskImport, AGoodCopyOfASectorWinsOverDamagedOnes) {
  struct CopySpec {
    std::uint8_t St1, St2;
    std::size_t Size;
    std::uint8_t Mark;  // XORed into the copy's bytes, to tell copies apart
  };
  const struct {
    std::vector<CopySpec> Copies;
    std::uint8_t WinnerMark;
    std::string Problem;
  } cases[] = {
      {{{0, 0x20, 512, 1}, {0, 0, 512, 0}}, 0, ""},                   // damaged, then good
      {{{0, 0, 512, 0}, {0x20, 0x20, 512, 2}}, 0, ""},                // good, then damaged
      {{{0x01, 0, 512, 3}, {0x20, 0, 512, 4}}, 4, "CRC error"},       // no data field, then a CRC error
      {{{0, 0, 100, 5}, {0, 0x20, 512, 6}}, 6, "CRC error"},          // cut short, then whole with an error
      {{{0, 0x20, 512, 7}, {0, 0x20, 512, 8}}, 7, "CRC error"},       // two alike: the first
  };
  TrackSpecs tracks = SkewedTracks();
  auto& track0 = tracks[0];
  track0.erase(std::remove_if(track0.begin(), track0.end(), [](const StoredSectorSpec& s) { return s.R <= 5; }),
               track0.end());
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const int r = static_cast<int>(i) + 1;
    for (const CopySpec& copy : cases[i].Copies) {
      Bytes data = SectorData(0, 0, r);
      for (auto& byte : data) byte ^= copy.Mark;
      data.resize(copy.Size);
      track0.push_back({0, 0, static_cast<std::uint8_t>(r), 2, copy.St1, copy.St2, data});
    }
  }
  const auto result = Import(kit::BuildEdsk(tracks));
  ASSERT_TRUE(result.Imported) << result.Error;
  std::vector<std::string> problems(std::size(cases));
  for (const auto& problem : result.Problems) problems.at(static_cast<std::size_t>(problem.Sector - 1)) = problem.What;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Bytes expected = SectorData(0, 0, static_cast<int>(i) + 1);
    for (auto& byte : expected) byte ^= cases[i].WinnerMark;
    const auto start = imported_->begin() + static_cast<std::ptrdiff_t>(i * 512);
    EXPECT_TRUE(Bytes(start, start + 512) == expected) << "sector " << i + 1;
    EXPECT_EQ(problems[i], cases[i].Problem) << "sector " << i + 1;
  }
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
      // Images with nothing of a SAM disk in them, which would pass for a blank disk.
      {kit::BuildEdsk(TrackSpecs(160)), "an EDSK image whose tracks hold no sectors"},
      {kit::BuildDsk(TrackSpecs(160)), "a DSK image whose tracks hold no sectors"},
      {kit::BuildEdsk(TrackSpecs(160, std::vector<StoredSectorSpec>{{0, 0, 0xC1, 2, 0, 0, Bytes(512, 1)}})),
       "an EDSK image none of whose 160 sectors is a SAM disk's"},
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
