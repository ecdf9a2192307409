// A floppy drive for tests: the disk in it held in MGT order (the order a
// real drive presents), every request logged, and failures scripted by the
// transfer they hit. Also a progress window that logs what it was told.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "vellonix/core/container.hpp"
#include "vellonix/physdisk/samdisk.hpp"

namespace vellonix::testing {

struct DriveRequest {
  enum Kind { SetMediaType, Read, Write };
  Kind Op = Read;
  int Drive = 0;
  int Track = 0;  // the last track, for SetMediaType
  int Side = 0;
  int FirstSector = 0;
  int Count = 0;  // sectors per track, for SetMediaType
  friend bool operator==(const DriveRequest&, const DriveRequest&) = default;
};

class ScriptedDrive : public physdisk::BiosDisk {
 public:
  std::vector<std::uint8_t> Mgt = std::vector<std::uint8_t>(core::kMgtFileSize);
  std::vector<DriveRequest> Requests;
  bool AcceptsMediaType = true;
  std::optional<std::size_t> FailingTransfer;  // the n-th read or write in Requests (from 0) fails
  std::function<void()> DuringTransfer;        // plays whoever acts while the drive works
  int Releases = 0;
  bool FlushFails = false;
  std::optional<std::size_t> FlushedAfter;  // how many requests came before the flush, once flushed

  bool SetMediaType(std::uint8_t drive, std::uint8_t lastTrack, std::uint8_t sectors) override {
    Requests.push_back({DriveRequest::SetMediaType, drive, lastTrack, 0, 0, sectors});
    return AcceptsMediaType;
  }
  bool ReadSectors(std::uint8_t drive, std::uint8_t track, std::uint8_t side, std::uint8_t first, std::uint8_t count,
                   std::span<std::uint8_t> buffer) override {
    if (!Log({DriveRequest::Read, drive, track, side, first, count})) return false;
    const auto from = Mgt.begin() + static_cast<std::ptrdiff_t>(Place(track, side, first));
    std::copy(from, from + static_cast<std::ptrdiff_t>(count) * core::kBytesPerSector, buffer.begin());
    return true;
  }
  bool WriteSectors(std::uint8_t drive, std::uint8_t track, std::uint8_t side, std::uint8_t first, std::uint8_t count,
                    std::span<const std::uint8_t> buffer) override {
    if (!Log({DriveRequest::Write, drive, track, side, first, count})) return false;
    std::copy(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(count) * core::kBytesPerSector,
              Mgt.begin() + static_cast<std::ptrdiff_t>(Place(track, side, first)));
    return true;
  }
  bool Flush() override {
    FlushedAfter = Requests.size();
    if (FlushFails) lastError_ = "scripted flush failure";
    return !FlushFails;
  }
  std::string LastError() const override { return lastError_; }
  bool Acquire() override { return true; }
  void Release() override { ++Releases; }

 private:
  static std::size_t Place(int track, int side, int first) {
    return static_cast<std::size_t>((track * 2 + side) * core::kSectorsPerTrack + first - 1) * core::kBytesPerSector;
  }
  bool Log(const DriveRequest& request) {
    const auto index = static_cast<std::size_t>(std::count_if(
        Requests.begin(), Requests.end(), [](const DriveRequest& r) { return r.Op != DriveRequest::SetMediaType; }));
    Requests.push_back(request);
    if (DuringTransfer) DuringTransfer();
    if (index != FailingTransfer) return true;
    lastError_ = "scripted failure";
    return false;
  }
  std::string lastError_;
};

// The window's calls as text: "Show Loading SAM disk ...", "Step", "Hide".
class RecordingProgress : public physdisk::TransferProgress {
 public:
  std::vector<std::string> Calls;
  void Show(const std::string& caption) override { Calls.push_back("Show " + caption); }
  void Step() override { Calls.push_back("Step"); }
  void Hide() override { Calls.push_back("Hide"); }
};

// The MGT bytes of `disk`, as a drive holding it presents them.
inline std::vector<std::uint8_t> MgtOf(const core::DiskImageBuffer& disk) {
  return core::EncodeContainer(core::ContainerKind::Mgt, disk);
}

}  // namespace vellonix::testing
