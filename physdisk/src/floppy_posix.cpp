// The first floppy drive on Linux: the kernel's floppy driver, which shows a
// disk as its sectors in MGT order, or a block device or image file of one
// SAM disk standing in for it. Anything else is refused before a byte is
// read or written: a mistyped device name must never put a SAM disk onto a
// hard disk or a USB stick.
#include <fcntl.h>
#include <linux/fd.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include "vellonix/core/container.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/physdisk/flux_reader.hpp"
#include "vellonix/physdisk/host_drive.hpp"
#include "vellonix/physdisk/samdisk.hpp"

namespace vellonix::physdisk {

namespace {

constexpr const char* kDefaultDevice = "/dev/fd0";
constexpr unsigned kFloppyMajor = 2;
constexpr std::uint64_t kSamDiskBytes = core::kDiskBytes;

// O_DIRECT wants the memory aligned to the device's sectors; a page covers
// every block device.
constexpr std::size_t kDirectAlignment = 4096;
constexpr std::size_t kBounceBytes = 2 * kDirectAlignment;  // one track side, rounded up
static_assert(kBounceBytes >= core::kBytesPerTrack);

enum class DriveKind { Floppy, DiskSizedDevice, ImageFile };

std::string ErrorText(int error) { return std::generic_category().message(error); }

// The host's words, with what a user can do about the usual causes.
std::string OpenErrorText(int error, DriveKind kind) {
  std::string text = ErrorText(error);
  if ((error == EACCES || error == EPERM) && kind != DriveKind::ImageFile)
    text += " (reading and writing a floppy needs access to its device: membership of the disk group, or a udev rule)";
  if (error == EBUSY) text += " (the drive is mounted or in use by another program)";
  if ((error == ENXIO || error == ENOMEDIUM) && kind == DriveKind::Floppy) text += " (is there a disk in the drive?)";
  return text;
}

int OpenRetrying(const char* path, int flags) {
  int fd;
  do {
    fd = ::open(path, flags);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

std::uint64_t BlockDeviceBytes(int fd) {
  std::uint64_t bytes = 0;
  return ::ioctl(fd, BLKGETSIZE64, &bytes) == 0 ? bytes : 0;
}

struct FreeMemory {
  void operator()(std::uint8_t* memory) const { std::free(memory); }
};

// An image file standing in for the drive is moved as a whole, the way
// every image is saved (WholeDiskDrive): a transfer ended at any moment
// leaves the old disk or the new one, never a mix of both.
class PosixFloppy final : public BiosDisk, public WholeDiskDrive {
 public:
  explicit PosixFloppy(std::string path) : path_(std::move(path)) {}
  PosixFloppy(const PosixFloppy&) = delete;
  PosixFloppy& operator=(const PosixFloppy&) = delete;
  ~PosixFloppy() override { Release(); }

  bool SetMediaType(std::uint8_t drive, std::uint8_t lastTrack, std::uint8_t sectorsPerTrack) override {
    return WithRetries([&] { return SetGeometry(drive, lastTrack, sectorsPerTrack); });
  }
  bool ReadSectors(std::uint8_t drive, std::uint8_t track, std::uint8_t side, std::uint8_t firstSector,
                   std::uint8_t count, std::span<std::uint8_t> buffer) override {
    return WithRetries([&] {
      const std::optional<off_t> at = Locate(drive, track, side, firstSector, count, buffer.size());
      if (!at) return false;
      const std::size_t bytes = RunBytes(count);
      std::uint8_t* io = Direct() ? bounce_.get() : buffer.data();
      const bool read = Repeat(bytes, firstSector, [&](std::size_t done) {
        return ::pread(fd_, io + done, bytes - done, *at + static_cast<off_t>(done));
      });
      if (read && io != buffer.data()) std::memcpy(buffer.data(), io, bytes);
      return read;
    });
  }
  bool WriteSectors(std::uint8_t drive, std::uint8_t track, std::uint8_t side, std::uint8_t firstSector,
                    std::uint8_t count, std::span<const std::uint8_t> buffer) override {
    return WithRetries([&] {
      const std::optional<off_t> at = Locate(drive, track, side, firstSector, count, buffer.size());
      if (!at) return false;
      const std::size_t bytes = RunBytes(count);
      const std::uint8_t* io = buffer.data();
      if (Direct()) io = static_cast<const std::uint8_t*>(std::memcpy(bounce_.get(), buffer.data(), bytes));
      const bool written = Repeat(bytes, firstSector, [&](std::size_t done) {
        return ::pwrite(fd_, io + done, bytes - done, *at + static_cast<off_t>(done));
      });
      // Only data on the disk counts: a write that failed later, in the
      // page cache, would be a failure reported as success. An O_DIRECT
      // write to a drive has ended only once the drive has the sector.
      if (written && !Direct() && ::fdatasync(fd_) != 0) return FailAt(firstSector, errno);
      return written;
    });
  }
  // A loop device's writes end in its file's page cache, and a sector
  // counts as written only once it is on the disk.
  bool Flush() override {
    if (fd_ < 0 || kind_ == DriveKind::ImageFile || ::fsync(fd_) == 0) return true;
    const int error = errno;
    return Fail("cannot flush the written sectors to the disk: " + ErrorText(error));
  }
  std::string LastError() const override { return lastError_; }
  bool Acquire() override { return Open(); }
  void Release() override {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    imageLock_.reset();
  }
  WholeDiskDrive* WholeDisk() override { return Open() && kind_ == DriveKind::ImageFile ? this : nullptr; }
  TransferResult LoadWhole(core::DiskImageBuffer& disk, TransferProgress& progress) override;
  TransferResult SaveWhole(const core::DiskImageBuffer& disk, TransferProgress& progress) override;

 private:
  bool Fail(const std::string& text) {
    lastError_ = path_ + ": " + text;
    return false;
  }
  // A transfer that stopped at `sector`: the host's `error`, or 0 for the
  // end of the device.
  bool FailAt(int sector, int error) {
    std::string text = error == 0 ? "the disk ends here" : ErrorText(error);
    if (error == EROFS) text += " (the disk is write-protected)";
    return Fail("sector " + std::to_string(sector) + ": " + text);
  }
  std::optional<DriveKind> Classify(const struct stat& named);
  bool Open();
  bool OpenJudged(struct stat& named, DriveKind kind);
  bool SetGeometry(std::uint8_t drive, std::uint8_t lastTrack, std::uint8_t sectorsPerTrack);
  // Checks the run, opens the drive and gives the run's place on the disk.
  std::optional<off_t> Locate(std::uint8_t drive, std::uint8_t track, std::uint8_t side, std::uint8_t firstSector,
                              std::uint8_t count, std::size_t bufferSize);
  static std::size_t RunBytes(std::uint8_t count) { return std::size_t{count} * core::kBytesPerSector; }
  // Block devices are opened for O_DIRECT and go through the aligned buffer.
  bool Direct() const { return kind_ != DriveKind::ImageFile; }
  // Calls `step` with the bytes done so far until all `bytes` are moved.
  template <typename Step>
  bool Repeat(std::size_t bytes, std::uint8_t firstSector, Step step);

  std::string path_;
  int fd_ = -1;
  DriveKind kind_ = DriveKind::ImageFile;
  std::unique_ptr<std::uint8_t, FreeMemory> bounce_;  // aligned, for the O_DIRECT block devices
  std::optional<core::ImageLock> imageLock_;          // an image file's, as every command takes it
  std::string lastError_;
};

// What the path names, or nothing (with the reason) when it must not be
// touched. Only reads the size of a block device that is no floppy.
std::optional<DriveKind> PosixFloppy::Classify(const struct stat& named) {
  if (S_ISBLK(named.st_mode)) {
    if (major(named.st_rdev) == kFloppyMajor) return DriveKind::Floppy;
    const int probe = OpenRetrying(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (probe < 0) {
      Fail(OpenErrorText(errno, DriveKind::DiskSizedDevice));
      return std::nullopt;
    }
    const std::uint64_t bytes = BlockDeviceBytes(probe);
    ::close(probe);
    if (bytes == kSamDiskBytes) return DriveKind::DiskSizedDevice;
    Fail("refused: not a floppy drive, and not the size of a SAM disk (" + std::to_string(bytes) + " bytes)");
    return std::nullopt;
  }
  if (S_ISREG(named.st_mode)) {
    if (static_cast<std::uint64_t>(named.st_size) == kSamDiskBytes) return DriveKind::ImageFile;
    Fail("refused: an image file standing in for a drive must hold 819,200 bytes in MGT order (it has " +
         std::to_string(named.st_size) + ")");
    return std::nullopt;
  }
  Fail("refused: neither a floppy drive nor a disk image file");
  return std::nullopt;
}

bool PosixFloppy::Open() {
  if (fd_ >= 0) return true;
  struct stat named {};
  if (::stat(path_.c_str(), &named) != 0) return Fail(ErrorText(errno));
  std::optional<DriveKind> kind = Classify(named);
  if (!kind) return false;
  if (*kind == DriveKind::ImageFile) {
    // Locked as every command locks an image, so that none changes it
    // during the transfer, and judged again under the lock: a command that
    // saved it while we waited has put a new file under the name.
    try {
      imageLock_.emplace(path_, core::ImageLock::Mode::Exclusive);
    } catch (const core::HostIoError& error) {
      lastError_ = error.what();
      return false;
    }
    if (::stat(path_.c_str(), &named) != 0) {
      const int error = errno;
      imageLock_.reset();
      return Fail(ErrorText(error));
    }
    kind = Classify(named);
  }
  if (!kind || !OpenJudged(named, *kind)) {
    imageLock_.reset();
    return false;
  }
  return true;
}

bool PosixFloppy::OpenJudged(struct stat& named, DriveKind kind) {
  // Block devices: exclusive, so that no other transfer or mount can come
  // between the sectors, and unbuffered, so that every read comes from the
  // disk and no write waits in the page cache.
  const bool block = S_ISBLK(named.st_mode);
  const int flags = O_RDWR | O_CLOEXEC | (block ? O_EXCL | O_DIRECT : 0);
  int fd = OpenRetrying(path_.c_str(), flags);
  // The driver refuses a write-protected disk to a plain read-write open;
  // the no-delay open skips that test and still lets the geometry be set,
  // so such a disk can be loaded (writing it then fails sector by sector).
  if (fd < 0 && errno == EROFS && kind == DriveKind::Floppy) fd = OpenRetrying(path_.c_str(), flags | O_NONBLOCK);
  if (fd < 0) return Fail(OpenErrorText(errno, kind));

  // The name must still lead where it led when it was judged.
  struct stat opened {};
  const bool same = ::fstat(fd, &opened) == 0 && (opened.st_mode & S_IFMT) == (named.st_mode & S_IFMT) &&
                    (block ? opened.st_rdev == named.st_rdev
                           : opened.st_dev == named.st_dev && opened.st_ino == named.st_ino &&
                                 static_cast<std::uint64_t>(opened.st_size) == kSamDiskBytes);
  if (!same || (kind == DriveKind::DiskSizedDevice && BlockDeviceBytes(fd) != kSamDiskBytes)) {
    ::close(fd);
    return Fail("refused: it changed while it was being opened");
  }
  if (block && !bounce_) {
    bounce_.reset(static_cast<std::uint8_t*>(std::aligned_alloc(kDirectAlignment, kBounceBytes)));
    if (!bounce_) {
      ::close(fd);
      return Fail(ErrorText(ENOMEM));
    }
  }
  fd_ = fd;
  kind_ = kind;
  return true;
}

TransferResult PosixFloppy::LoadWhole(core::DiskImageBuffer& disk, TransferProgress& progress) {
  std::vector<std::uint8_t> mgt(core::kMgtFileSize);
  std::size_t done = 0;
  while (done < mgt.size()) {
    const ssize_t got = ::pread(fd_, mgt.data() + done, mgt.size() - done, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      Fail(got == 0 ? "the file ends early" : ErrorText(errno));
      const int trackSide = static_cast<int>(done / core::kBytesPerTrack);
      return FailedRequest{trackSide / core::kSides, trackSide % core::kSides, 1, kSamSectors};
    }
    done += static_cast<std::size_t>(got);
  }
  core::DecodeContainer(core::ContainerKind::Mgt, mgt, disk);
  for (int track = 0; track < core::kTracksPerSide; ++track) progress.Step();
  return std::nullopt;
}

TransferResult PosixFloppy::SaveWhole(const core::DiskImageBuffer& disk, TransferProgress& progress) {
  try {
    core::WriteFileSafely(path_, core::EncodeContainer(core::ContainerKind::Mgt, disk));
  } catch (const core::HostIoError& error) {
    lastError_ = error.what();
    return FailedRequest{0, 0, 1, kSamSectors};  // nothing of the new disk is in the file
  }
  for (int track = 0; track < core::kTracksPerSide; ++track) progress.Step();
  return std::nullopt;
}

bool PosixFloppy::SetGeometry(std::uint8_t drive, std::uint8_t lastTrack, std::uint8_t sectorsPerTrack) {
  if (BiosDrive(drive) != 0) return Fail("only the first floppy drive is served");
  if (!Open()) return false;
  if (kind_ != DriveKind::Floppy) return Fail("not a floppy drive: its geometry is fixed");
  // The driver's own double-density SAM type: 250 kbit/s, sectors from 1.
  floppy_struct sam{};
  sam.track = lastTrack + 1u;
  sam.head = core::kSides;
  sam.sect = sectorsPerTrack;
  sam.size = sam.track * sam.head * sam.sect;
  sam.stretch = 0;
  sam.gap = 0x25;
  sam.rate = 0x02;
  sam.spec1 = 0xDF;
  sam.fmt_gap = 0x2E;
  if (::ioctl(fd_, FDSETPRM, &sam) != 0) {
    const int error = errno;
    return Fail("cannot set the SAM disk geometry: " + ErrorText(error));
  }
  // Whatever the driver kept of the disk that was in the drive before goes.
  if (::ioctl(fd_, FDFLUSH) != 0) {
    const int error = errno;
    return Fail("cannot drop the cached track: " + ErrorText(error));
  }
  return true;
}

std::optional<off_t> PosixFloppy::Locate(std::uint8_t drive, std::uint8_t track, std::uint8_t side,
                                         std::uint8_t firstSector, std::uint8_t count, std::size_t bufferSize) {
  if (BiosDrive(drive) != 0) {
    Fail("only the first floppy drive is served");
    return std::nullopt;
  }
  if (!RunFitsBuffer(bufferSize, count) || track >= core::kTracksPerSide || side >= core::kSides ||
      firstSector < 1 || firstSector + count - 1 > core::kSectorsPerTrack) {
    Fail("no such run of sectors on a SAM disk");
    return std::nullopt;
  }
  if (!Open()) return std::nullopt;
  // The driver's order, which is an MGT file's: track by track, side 0 then 1.
  const int sector = (track * core::kSides + side) * core::kSectorsPerTrack + firstSector - 1;
  return static_cast<off_t>(sector) * core::kBytesPerSector;
}

template <typename Step>
bool PosixFloppy::Repeat(std::size_t bytes, std::uint8_t firstSector, Step step) {
  std::size_t done = 0;
  while (done < bytes) {
    const ssize_t moved = step(done);
    const int error = errno;
    if (moved < 0 && error == EINTR) continue;
    if (moved > 0) {
      done += static_cast<std::size_t>(moved);
      continue;
    }
    return FailAt(static_cast<int>(firstSector + done / core::kBytesPerSector), moved == 0 ? 0 : error);
  }
  return true;
}

}  // namespace

std::unique_ptr<BiosDisk> OpenHostDrive(const std::optional<std::string>& device) {
  if (device && NamesFluxReader(*device)) return OpenFluxReader(*device);
  return std::make_unique<PosixFloppy>(device.value_or(kDefaultDevice));
}

std::string HostDriveName(const std::optional<std::string>& device) { return device.value_or(kDefaultDevice); }

std::optional<std::string> FloppyFromEnvironment() {
  const char* named = std::getenv(kFloppyVariable);
  if (named == nullptr || *named == '\0') return std::nullopt;
  return std::string(named);
}

}  // namespace vellonix::physdisk
