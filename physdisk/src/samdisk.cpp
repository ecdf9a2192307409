#include "vellonix/physdisk/samdisk.hpp"

#include <span>
#include <string>

namespace vellonix::physdisk {

namespace {

// Shows the window for the whole transfer and, however it ends, lets the
// drive go and hides the window again before the caller says anything.
class TransferScope {
 public:
  TransferScope(BiosDisk& drive, TransferProgress& progress, const char* caption)
      : drive_(drive), progress_(progress) {
    progress_.Show(caption);
    // A drive that refuses the geometry may still read the disk: go on.
    drive_.SetMediaType(kSamDrive, kSamLastTrack, kSamSectors);
  }
  TransferScope(const TransferScope&) = delete;
  TransferScope& operator=(const TransferScope&) = delete;
  ~TransferScope() {
    drive_.Release();
    progress_.Hide();
  }

 private:
  BiosDisk& drive_;
  TransferProgress& progress_;
};

std::size_t SectorPlace(int track, int side, int sector) {
  return core::TrackSideOffset(side, track) + static_cast<std::size_t>(sector - 1) * core::kBytesPerSector;
}

}  // namespace

TransferResult LoadSamDisk(BiosDisk& drive, core::DiskImageBuffer& disk, TransferProgress& progress) {
  const TransferScope scope(drive, progress, kLoadCaption);
  if (WholeDiskDrive* whole = drive.WholeDisk()) return whole->LoadWhole(disk, progress);
  for (int track = 0; track < core::kTracksPerSide; ++track) {
    for (int side = 0; side < core::kSides; ++side) {
      const auto place = std::span(disk).subspan(SectorPlace(track, side, 1), core::kBytesPerTrack);
      if (!drive.ReadSectors(kSamDrive, static_cast<std::uint8_t>(track), static_cast<std::uint8_t>(side), 1,
                             kSamSectors, place)) {
        return FailedRequest{track, side, 1, kSamSectors};
      }
    }
    progress.Step();
  }
  return std::nullopt;
}

TransferResult SaveSamDisk(BiosDisk& drive, const core::DiskImageBuffer& disk, TransferProgress& progress) {
  const TransferScope scope(drive, progress, kSaveCaption);
  if (WholeDiskDrive* whole = drive.WholeDisk()) return whole->SaveWhole(disk, progress);
  for (int track = 0; track < core::kTracksPerSide; ++track) {
    for (int side = 0; side < core::kSides; ++side) {
      for (const std::uint8_t sector : kSaveSectorOrder) {
        const auto place = std::span(disk).subspan(SectorPlace(track, side, sector), core::kBytesPerSector);
        if (!drive.WriteSectors(kSamDrive, static_cast<std::uint8_t>(track), static_cast<std::uint8_t>(side), sector,
                                1, place)) {
          return FailedRequest{track, side, sector, 1};
        }
      }
    }
    progress.Step();
  }
  if (!drive.Flush()) return FailedRequest{.Flushing = true};
  return std::nullopt;
}

std::string DescribeFailure(const FailedRequest& failed, const BiosDisk& drive) {
  if (failed.Flushing) return "after the last sector: " + drive.LastError();
  std::string where = "track " + std::to_string(failed.Track) + ", side " + std::to_string(failed.Side);
  where += failed.Count > 1 ? ", sectors " + std::to_string(failed.FirstSector) + "-" +
                                  std::to_string(failed.FirstSector + failed.Count - 1)
                            : ", sector " + std::to_string(failed.FirstSector);
  return where + ": " + drive.LastError();
}

}  // namespace vellonix::physdisk
