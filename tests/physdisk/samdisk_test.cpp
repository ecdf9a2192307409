// The whole-disk load and save over a scripted drive: the requests in their
// order, where the bytes land, the stop at the first failure, the window.
#include <gtest/gtest.h>

#include <memory>

#include "scratch_dir.hpp"
#include "scripted_drive.hpp"

namespace vellonix::physdisk {
namespace {

using testing::DriveRequest;
using testing::MgtOf;
using testing::RecordingProgress;
using testing::ScriptedDrive;

constexpr std::uint8_t kOldByte = 0xEE;

std::unique_ptr<core::DiskImageBuffer> OldDisk() {
  auto disk = std::make_unique<core::DiskImageBuffer>();
  disk->fill(kOldByte);
  return disk;
}

std::vector<std::string> ExpectedProgress(const char* caption, int steps) {
  std::vector<std::string> calls{std::string("Show ") + caption};
  calls.insert(calls.end(), static_cast<std::size_t>(steps), "Step");
  calls.push_back("Hide");
  return calls;
}

TEST(LoadSamDisk, ReadsEveryTrackSideInOrderIntoItsPlace) {
  for (const bool accepted : {true, false}) {
    SCOPED_TRACE(accepted ? "media type accepted" : "media type refused");
    ScriptedDrive drive;
    drive.Mgt = vellonix::testing::RandomBytes(core::kMgtFileSize, 7);
    drive.AcceptsMediaType = accepted;
    auto disk = OldDisk();
    RecordingProgress progress;

    EXPECT_EQ(LoadSamDisk(drive, *disk, progress), std::nullopt);

    std::vector<DriveRequest> expected{{DriveRequest::SetMediaType, 1, 79, 0, 0, 10}};
    for (int track = 0; track < 80; ++track) {
      for (int side = 0; side < 2; ++side) expected.push_back({DriveRequest::Read, 1, track, side, 1, 10});
    }
    EXPECT_EQ(drive.Requests, expected);
    EXPECT_EQ(MgtOf(*disk), drive.Mgt);
    EXPECT_EQ(progress.Calls, ExpectedProgress("Loading SAM disk ...", 80));
    EXPECT_EQ(drive.Releases, 1);
  }
}

TEST(LoadSamDisk, StopsAtTheFirstFailedReadLeavingTheRestAsItWas) {
  const struct {
    std::size_t Failing;  // track x 2 + side
    FailedRequest Failed;
  } cases[] = {{0, {0, 0, 1, 10}}, {6, {3, 0, 1, 10}}, {7, {3, 1, 1, 10}}, {159, {79, 1, 1, 10}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Failing);
    ScriptedDrive drive;
    drive.Mgt = vellonix::testing::RandomBytes(core::kMgtFileSize, 8);
    drive.FailingTransfer = c.Failing;
    auto disk = OldDisk();
    RecordingProgress progress;

    EXPECT_EQ(LoadSamDisk(drive, *disk, progress), c.Failed);

    // Nothing after the failed request was asked for: a failure on side 0
    // reads nothing of side 1.
    EXPECT_EQ(drive.Requests.size(), 1 + c.Failing + 1);
    const std::vector<std::uint8_t> mgt = MgtOf(*disk);
    const std::size_t read = c.Failing * core::kBytesPerTrack;
    EXPECT_TRUE(std::equal(mgt.begin(), mgt.begin() + static_cast<std::ptrdiff_t>(read), drive.Mgt.begin()));
    EXPECT_TRUE(std::all_of(mgt.begin() + static_cast<std::ptrdiff_t>(read), mgt.end(),
                            [](std::uint8_t b) { return b == kOldByte; }));
    EXPECT_EQ(progress.Calls, ExpectedProgress("Loading SAM disk ...", static_cast<int>(c.Failing / 2)));
    EXPECT_EQ(drive.Releases, 1);
  }
}

// A save ends with the drive's flush, and counts as done only once that
// went through too.
TEST(SaveSamDisk, WritesEverySectorOddOnesFirstFlushesAndStopsAtAFailure) {
  const struct {
    std::optional<std::size_t> Failing;
    TransferResult Result;
    std::size_t Written;
    bool FlushFails = false;
  } cases[] = {{std::nullopt, std::nullopt, 1600},
               {0, FailedRequest{0, 0, 1, 1}, 0},
               {15, FailedRequest{0, 1, 2, 1}, 15},
               {1599, FailedRequest{79, 1, 10, 1}, 1599},
               {std::nullopt, FailedRequest{.Flushing = true}, 1600, true}};
  const std::uint8_t order[] = {1, 3, 5, 7, 9, 2, 4, 6, 8, 10};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Written);
    ScriptedDrive drive;
    drive.FailingTransfer = c.Failing;
    drive.FlushFails = c.FlushFails;
    drive.AcceptsMediaType = false;  // goes on regardless
    core::DiskImageBuffer disk;
    const auto bytes = vellonix::testing::RandomBytes(core::kDiskBytes, 9);
    std::copy(bytes.begin(), bytes.end(), disk.begin());
    RecordingProgress progress;

    EXPECT_EQ(SaveSamDisk(drive, disk, progress), c.Result);

    ASSERT_EQ(drive.Requests.size(), 1 + c.Written + (c.Failing ? 1 : 0));
    EXPECT_EQ(drive.Requests[0], (DriveRequest{DriveRequest::SetMediaType, 1, 79, 0, 0, 10}));
    const std::vector<std::uint8_t> wanted = MgtOf(disk);
    std::vector<std::uint8_t> expected(core::kMgtFileSize, 0);
    for (std::size_t n = 0; n < c.Written; ++n) {
      const int trackSide = static_cast<int>(n / 10);
      const DriveRequest write{DriveRequest::Write, 1, trackSide / 2, trackSide % 2, order[n % 10], 1};
      ASSERT_EQ(drive.Requests[1 + n], write) << n;
      const auto at = static_cast<std::ptrdiff_t>((trackSide * 10 + write.FirstSector - 1) * 512);
      std::copy(wanted.begin() + at, wanted.begin() + at + 512, expected.begin() + at);
    }
    EXPECT_EQ(drive.Mgt, expected);
    EXPECT_EQ(drive.FlushedAfter, c.Failing ? std::nullopt : std::optional<std::size_t>(1 + 1600));
    EXPECT_EQ(progress.Calls, ExpectedProgress("Saving SAM disk ...", static_cast<int>(c.Written / 20)));
  }
}

}  // namespace
}  // namespace vellonix::physdisk
