// The host side of a disk: saving, loading, extracting and adding through
// real files, in a scratch folder (under TMPDIR; scripts/fuzz.sh points it
// at a tmpfs). Each input picks what already stands at the name (nothing, a
// file, a read-only file, links good, dangling and looping, a folder, a
// FIFO), the name (each container's extension in any case, none, the
// longest a folder takes, bytes that are not UTF-8), the operation and
// whether a load or save takes the image's lock as the command line does;
// the rest of it is the start of the disk. Promises checked:
// - a save succeeds exactly when a regular file or nothing stands at the
//   name (links followed), the host lets us write it and the name fits;
//   the file then holds the container the extension picks, loads back as
//   the same disk, keeps the old file's mode, and a link stays a link;
// - a failed save or extract leaves whatever stood there as it was;
// - an extract writes a FIFO directly (it stays a FIFO and gets the bytes),
//   refuses a folder, and otherwise saves as above;
// - a load or an addition never waits (on a FIFO) and never takes anything
//   but a regular file; a failed one leaves the disk as it was;
// - nothing else is ever left in the folder (no temporary files).
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "fuzz_check.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/core/listing.hpp"
#include "vellonix/fileops/add_file.hpp"
#include "vellonix/fileops/extract_file.hpp"

namespace {

using namespace vellonix;
namespace fs = std::filesystem;

enum class Standing { Nothing, File, ReadOnlyFile, LinkToFile, DanglingLink, Folder, Fifo, LinkLoop };
enum class Operation { Save, Extract, Load, Add };

constexpr std::size_t kNameMax = 255;
constexpr std::array<const char*, 7> kExtensions{".mgt", ".MGT", ".sad", ".SaD", ".img", "", ".mgt"};

// The scratch folder of the whole run; each input works in a fresh folder
// inside it. libFuzzer ends the process without running destructors, so a
// run removes the folders of runs whose process has gone.
class Scratch {
 public:
  Scratch() : root_(fs::temp_directory_path() / (kPrefix + std::to_string(::getpid()))) {
    for (const auto& entry : fs::directory_iterator(root_.parent_path())) {
      const std::string name = entry.path().filename().native();
      if (!name.starts_with(kPrefix) || entry.path() == root_) continue;
      const std::string pid = name.substr(kPrefix.size());
      if (!pid.empty() && pid.size() < 10 && pid.find_first_not_of("0123456789") == std::string::npos &&
          ::kill(std::stoi(pid), 0) != 0 && errno == ESRCH) {
        fs::remove_all(entry.path());
      }
    }
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  fs::path Fresh() {
    const fs::path folder = root_ / "run";
    fs::remove_all(folder);
    fs::create_directory(folder);
    return folder;
  }

 private:
  static inline const std::string kPrefix = "vellonix-fuzz-host-";
  fs::path root_;
};

std::string NameFor(std::uint8_t pick, std::uint8_t length) {
  const std::string extension = kExtensions[pick % kExtensions.size()];
  std::string stem = "image";
  if (pick % 8 == 6) stem.assign(kNameMax - extension.size() + (length % 2), 'n');  // the longest, and one more
  if (pick % 8 == 7) stem = "\xFF\xFE-not-utf8";
  return stem + extension;
}

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  std::vector<std::uint8_t> bytes;
  if (fd < 0) return bytes;
  std::array<std::uint8_t, 65536> chunk{};
  for (ssize_t got; (got = ::read(fd, chunk.data(), chunk.size())) > 0;) {
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
  }
  ::close(fd);
  return bytes;
}

// What stands at a path, as lstat and stat see it, and its bytes.
struct Snapshot {
  bool Exists = false;
  mode_t LinkMode = 0;
  mode_t Mode = 0;
  std::vector<std::uint8_t> Bytes;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const fs::path& path) {
  Snapshot snapshot;
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) return snapshot;
  snapshot.Exists = true;
  snapshot.LinkMode = status.st_mode;
  if (::stat(path.c_str(), &status) == 0) {
    snapshot.Mode = status.st_mode;
    if (S_ISREG(status.st_mode)) snapshot.Bytes = ReadAll(path);
  }
  return snapshot;
}

std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().native());
  return names;
}

void WriteFile(const fs::path& path, std::span<const std::uint8_t> bytes, mode_t mode) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  FUZZ_CHECK(fd >= 0, "the scratch folder takes files");
  FUZZ_CHECK(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()), "scratch files write");
  ::close(fd);
  ::chmod(path.c_str(), mode);
}

// Sets up what stands at `path`; `old` is a regular file's content.
void Stand(Standing standing, const fs::path& path, std::span<const std::uint8_t> old) {
  const fs::path folder = path.parent_path();
  switch (standing) {
    case Standing::Nothing:
      return;
    case Standing::File:
      return WriteFile(path, old, 0640);
    case Standing::ReadOnlyFile:
      return WriteFile(path, old, 0444);
    case Standing::LinkToFile:
      WriteFile(folder / "linked", old, 0604);
      fs::create_symlink("linked", path);
      return;
    case Standing::DanglingLink:
      fs::create_symlink("absent", path);
      return;
    case Standing::Folder:
      fs::create_directory(path);
      return;
    case Standing::Fifo:
      FUZZ_CHECK(::mkfifo(path.c_str(), 0600) == 0, "the scratch folder takes FIFOs");
      return;
    case Standing::LinkLoop:
      fs::create_symlink(path.filename(), folder / "loop-back");
      fs::create_symlink("loop-back", path);
      return;
  }
}

// Whether a save may and must succeed: a regular file or nothing at the
// end of the links, one the host lets us write, under a name that fits.
bool SaveMustSucceed(Standing standing, const fs::path& path) {
  switch (standing) {
    case Standing::Nothing:
      return path.filename().native().size() <= kNameMax;
    case Standing::File:
    case Standing::LinkToFile:
    case Standing::DanglingLink:
      return true;
    case Standing::ReadOnlyFile:
      return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
    default:
      return false;
  }
}

// After a save to `path` that the host took: the file at the end of the
// links holds `bytes` with the mode it had, and a link is still a link.
void CheckSaved(const fs::path& path, const Snapshot& before, std::span<const std::uint8_t> bytes) {
  const Snapshot after = Take(path);
  FUZZ_CHECK(S_ISREG(after.Mode) && std::ranges::equal(after.Bytes, bytes), "a save leaves its bytes at the name");
  if (before.Exists) FUZZ_CHECK(after.LinkMode == before.LinkMode, "a save keeps a link a link");
  if (S_ISREG(before.Mode)) FUZZ_CHECK(after.Mode == before.Mode, "a save keeps the old file's mode");
}

void CheckSave(Standing standing, const fs::path& path, const Snapshot& before, const core::DiskImageBuffer& disk,
               bool locked) {
  std::optional<core::ContainerKind> saved;
  try {
    saved = locked ? core::SaveImageFileLocked(path.native(), disk) : core::SaveImageFile(path.native(), disk);
  } catch (const core::HostIoError&) {
  }
  FUZZ_CHECK(saved.has_value() == SaveMustSucceed(standing, path), "a save succeeds exactly where it may");
  if (!saved) {
    FUZZ_CHECK(Take(path) == before, "a failed save leaves what stood there");
    return;
  }
  FUZZ_CHECK(*saved == core::ContainerForSave(path.native()), "the extension picks the container");
  CheckSaved(path, before, core::EncodeContainer(*saved, disk));
  static const auto loaded = std::make_unique<core::DiskImageBuffer>();
  const auto kind = core::LoadImageFile(path.native(), *loaded);
  if (kind) FUZZ_CHECK(*kind == *saved && *loaded == disk, "a saved image loads back as it was");
}

void CheckExtract(Standing standing, const fs::path& path, const Snapshot& before, const core::DiskImageBuffer& disk,
                  int slot) {
  const std::vector<std::uint8_t> bytes = fileops::ExtractFileBytes(disk, slot);
  // A reader, so that the FIFO takes the bytes (fewer than a pipe holds).
  const int reader = S_ISFIFO(before.Mode) ? ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
  bool written = false;
  try {
    fileops::ExtractFileTo(disk, slot, path.native());
    written = true;
  } catch (const core::HostIoError&) {
  }
  if (reader >= 0) {
    std::vector<std::uint8_t> piped(bytes.size() + 1);
    const ssize_t got = ::read(reader, piped.data(), piped.size());
    ::close(reader);
    FUZZ_CHECK(
        written && got == static_cast<ssize_t>(bytes.size()) && std::equal(bytes.begin(), bytes.end(), piped.begin()),
        "an extract writes a FIFO directly");
    FUZZ_CHECK(Take(path) == before, "an extract leaves a FIFO a FIFO");
    return;
  }
  FUZZ_CHECK(written == SaveMustSucceed(standing, path), "an extract saves exactly where it may");
  if (written) CheckSaved(path, before, bytes);
  if (!written) FUZZ_CHECK(Take(path) == before, "a failed extract leaves what stood there");
}

// Opening a FIFO to read it waits for a writer that never comes (until a
// signal breaks the wait); anything that reads a file must not get there.
class NoWait {
 public:
  ~NoWait() { FUZZ_CHECK(std::chrono::steady_clock::now() - start_ < kLimit, "reading a file never waits"); }

 private:
  static constexpr auto kLimit = std::chrono::seconds(2);
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

void CheckLoad(const fs::path& path, const Snapshot& before, core::DiskImageBuffer& disk, bool locked) {
  const auto was = std::make_unique<core::DiskImageBuffer>(disk);
  std::optional<core::ContainerKind> kind;
  try {
    const NoWait noWait;
    kind = locked ? core::LoadImageFileLocked(path.native(), disk) : core::LoadImageFile(path.native(), disk);
  } catch (const core::HostIoError&) {
  }
  if (!kind) {
    FUZZ_CHECK(disk == *was, "a refused load leaves the disk");
    return;
  }
  FUZZ_CHECK(S_ISREG(before.Mode), "only a regular file loads");
  const auto expected = core::EncodeContainer(*kind, *was);
  FUZZ_CHECK(std::ranges::equal(before.Bytes, expected) && disk == *was, "a load gives the disk the file holds");
}

void CheckAdd(const fs::path& path, const Snapshot& before, core::DiskImageBuffer& disk) {
  core::DirectoryState state = core::ListDirectory(disk).State;
  const auto was = std::make_unique<core::DiskImageBuffer>(disk);
  std::optional<fileops::AddResult> result;
  try {
    const NoWait noWait;
    result = fileops::AddHostFile(disk, state, path.native(), path.native(), {2026, 1, 2, 3, 4});
  } catch (const core::HostIoError&) {
  }
  if (!result || !result->Added()) {
    FUZZ_CHECK(disk == *was, "a refused addition leaves the disk");
    return;
  }
  FUZZ_CHECK(S_ISREG(before.Mode), "only a regular file is added");
  FUZZ_CHECK(fileops::ExtractFileBytes(disk, result->Slot) == before.Bytes, "an added file extracts as it was");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Scratch scratch;
  static const auto disk = std::make_unique<core::DiskImageBuffer>();
  if (size < 2) return 0;
  const auto operation = static_cast<Operation>(data[0] >> 3 & 3);
  const fs::path folder = scratch.Fresh();
  const fs::path path = folder / NameFor(static_cast<std::uint8_t>(data[0] >> 5), data[1]);
  // Under a name too long for the folder nothing can stand.
  const bool fits = path.filename().native().size() <= kNameMax;
  const auto standing = fits ? static_cast<Standing>(data[0] & 7) : Standing::Nothing;
  const bool locked = (data[1] & 0x80) != 0;

  // The disk: the input's bytes from the start, then zeros.
  const std::span<const std::uint8_t> body(data + 2, size - 2);
  disk->fill(0);
  std::copy_n(body.begin(), std::min(body.size(), disk->size()), disk->begin());
  // What a file standing at the name holds: for a load, this disk in the
  // container the name picks; for an addition, a slice of the input.
  std::vector<std::uint8_t> old(body.begin(),
                                body.begin() + std::min<std::size_t>(body.size(), (data[1] & 0x7Fu) * 61));
  if (operation == Operation::Load) old = core::EncodeContainer(core::ContainerForSave(path.native()), *disk);
  Stand(standing, path, old);

  const auto entries = Entries(folder);
  const Snapshot before = Take(path);
  switch (operation) {
    case Operation::Save:
      CheckSave(standing, path, before, *disk, locked);
      break;
    case Operation::Extract: {
      // A file to extract, of fewer bytes than a pipe holds.
      core::DirectoryState state = core::ListDirectory(*disk).State;
      const auto added =
          fileops::AddSamFile(*disk, state, std::span(old).first(std::min<std::size_t>(old.size(), 32768)),
                              "extract.bin", {2026, 1, 2, 3, 4});
      if (added.Added()) CheckExtract(standing, path, before, *disk, added.Slot);
      break;
    }
    case Operation::Load:
      CheckLoad(path, before, *disk, locked);
      break;
    case Operation::Add:
      CheckAdd(path, before, *disk);
      break;
  }
  // Nothing but the file at the name (or at the end of its link) is new.
  for (const auto& name : Entries(folder)) {
    FUZZ_CHECK(entries.contains(name) || name == path.filename().native() || name == "absent",
               "nothing but the file itself is left in the folder");
  }
  return 0;
}
