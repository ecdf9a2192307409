// Saving must never lose the old file, host errors reach the user as
// HostIoError carrying the path and the host's own message, and image locks
// keep writers apart on every host.
#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "file_size_limit.hpp"
#include "image_builder.hpp"
#include "scratch_dir.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/core/listing.hpp"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace vellonix::core {
namespace {

namespace fs = std::filesystem;
using testing::RandomBytes;
using testing::ReadBytes;

class SafeSave : public ::testing::Test {
 protected:
  void SetUp() override {
    disk_->fill(0x5A);
    testing::WriteBytes(dir_.Path() / "old.mgt", old_);
  }

  template <typename Call>
  void ExpectHostError(Call call, const std::string& shown, std::errc code) {
    try {
      call();
      ADD_FAILURE() << "no HostIoError for " << shown;
    } catch (const HostIoError& error) {
      // In the host's own words (Windows has its own for each of its codes).
      const std::string what = error.what();
      EXPECT_TRUE(error.code() == code) << what;
      EXPECT_NE(what.find(error.code().message()), std::string::npos) << what;
      EXPECT_NE(what.find(shown), std::string::npos) << what;
    }
  }

  bool OldFileIntact() const { return ReadBytes(dir_.Path() / "old.mgt") == old_; }

  testing::ScratchDir dir_;
  std::unique_ptr<DiskImageBuffer> disk_ = std::make_unique<DiskImageBuffer>();
  const std::vector<std::uint8_t> old_ = RandomBytes(819200, 3);
  const std::set<std::string> onlyOld_{"old.mgt"};
};

TEST_F(SafeSave, ReplacesTheFileAndLeavesNothingElse) {
  SaveImageFile(dir_ / "old.mgt", *disk_);
  EXPECT_TRUE(ReadBytes(dir_.Path() / "old.mgt") == std::vector<std::uint8_t>(819200, 0x5A));
  EXPECT_EQ(dir_.Listing(), onlyOld_);
}

TEST_F(SafeSave, MissingFolderOrFolderAsTargetIsAHostError) {
  ExpectHostError([&] { SaveImageFile(dir_ / "missing/new.mgt", *disk_); }, "new.mgt",
                  std::errc::no_such_file_or_directory);
  EXPECT_EQ(dir_.Listing(), onlyOld_);

  fs::create_directory(dir_.Path() / "folder.mgt");
  ExpectHostError([&] { SaveImageFile(dir_ / "folder.mgt", *disk_); }, dir_ / "folder.mgt", std::errc::is_a_directory);
  EXPECT_TRUE(dir_.Listing("folder.mgt").empty());
  EXPECT_EQ(dir_.Listing(), (std::set<std::string>{"folder.mgt", "old.mgt"}));
}

#ifndef _WIN32
// The host says who may write a file: root may write a read-only one, as
// its own tools do; anyone else is refused and keeps the file.
TEST_F(SafeSave, FileTheHostWillNotLetUsWriteIsRefusedAndKept) {
  fs::permissions(dir_.Path() / "old.mgt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  if (::geteuid() == 0) {
    SaveImageFile(dir_ / "old.mgt", *disk_);
    EXPECT_FALSE(OldFileIntact());
  } else {
    ExpectHostError([&] { SaveImageFile(dir_ / "old.mgt", *disk_); }, dir_ / "old.mgt", std::errc::permission_denied);
    EXPECT_TRUE(OldFileIntact());
  }
  EXPECT_EQ(dir_.Listing(), onlyOld_);
}

// The new file beside the target has a short name of its own, so a target
// whose name is as long as the host allows still saves.
TEST_F(SafeSave, LongestValidNameSaves) {
  const std::string name = std::string(251, 'n') + ".mgt";
  SaveImageFile(dir_ / name, *disk_);
  EXPECT_EQ(dir_.Listing(), (std::set<std::string>{"old.mgt", name}));
}
#endif

// A write that fails half way (the host's file size limit) must leave the
// old file alone and clear away the partial copy.
TEST_F(SafeSave, WriteFailingMidwayKeepsTheOldFile) {
  std::string what;
  {
    const testing::ScopedFileSizeLimit limit(65536);
    if (!limit.Active()) GTEST_SKIP() << "no file size limit on this host";
    try {
      SaveImageFile(dir_ / "old.mgt", *disk_);
    } catch (const HostIoError& error) {
      what = error.what();
    }
  }
  EXPECT_NE(what.find(std::make_error_code(std::errc::file_too_large).message()), std::string::npos) << what;
  EXPECT_TRUE(OldFileIntact());
  EXPECT_EQ(dir_.Listing(), onlyOld_);
}

TEST_F(SafeSave, PermissionBitsAreKept) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX permission bits: Windows keeps only a read-only flag";
#endif
  const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(dir_.Path() / "old.mgt", mode);
  SaveImageFile(dir_ / "old.mgt", *disk_);
  EXPECT_EQ(fs::status(dir_.Path() / "old.mgt").permissions() & fs::perms::mask, mode);
}

TEST_F(SafeSave, SymlinkStaysALinkAndItsFileGetsTheBytes) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links need a privilege on Windows that a user normally lacks";
#endif
  fs::create_directory(dir_.Path() / "real");
  testing::WriteBytes(dir_.Path() / "real" / "disk.mgt", old_);
  fs::create_symlink("real/disk.mgt", dir_.Path() / "link.mgt");
  SaveImageFile(dir_ / "link.mgt", *disk_);
  EXPECT_EQ(fs::read_symlink(dir_.Path() / "link.mgt"), fs::path("real/disk.mgt"));
  EXPECT_TRUE(ReadBytes(dir_.Path() / "real" / "disk.mgt") == std::vector<std::uint8_t>(819200, 0x5A));
  EXPECT_EQ(dir_.Listing("real"), (std::set<std::string>{"disk.mgt"}));
  EXPECT_EQ(dir_.Listing(), (std::set<std::string>{"link.mgt", "old.mgt", "real"}));
}

// Every name of a file with more than one sees the save.
TEST_F(SafeSave, HardLinkedFileIsSavedForEveryName) {
  fs::create_hard_link(dir_.Path() / "old.mgt", dir_.Path() / "alias.mgt");
  SaveImageFile(dir_ / "alias.mgt", *disk_);
  EXPECT_TRUE(ReadBytes(dir_.Path() / "old.mgt") == std::vector<std::uint8_t>(819200, 0x5A));
  EXPECT_TRUE(fs::equivalent(dir_.Path() / "old.mgt", dir_.Path() / "alias.mgt"));
  EXPECT_EQ(dir_.Listing(), (std::set<std::string>{"alias.mgt", "old.mgt"}));
}

TEST_F(SafeSave, FailedLoadsAreHostErrorsAndKeepTheBuffer) {
  const auto before = std::make_unique<DiskImageBuffer>(*disk_);
  ExpectHostError([&] { LoadImageFile(dir_ / "nothing.mgt", *disk_); }, dir_ / "nothing.mgt",
                  std::errc::no_such_file_or_directory);
  // A folder is no regular file: no image, whatever its name.
  fs::create_directory(dir_.Path() / "folder.mgt");
  EXPECT_FALSE(LoadImageFile(dir_ / "folder.mgt", *disk_).has_value());
  EXPECT_TRUE(*disk_ == *before);
}

TEST_F(SafeSave, LocksExcludeWritersWaitAndFollowTheSavedFile) {
  const std::string image = dir_ / "old.mgt";
  const std::vector<std::uint8_t> saved = RandomBytes(2000, 2);
  {
    const ImageLock reader(image, ImageLock::Mode::Shared);
    const ImageLock another(image, ImageLock::Mode::Shared, std::chrono::milliseconds(0));
    try {
      const ImageLock writer(image, ImageLock::Mode::Exclusive, std::chrono::milliseconds(100));
      ADD_FAILURE() << "a writer got in beside readers";
    } catch (const HostIoError& error) {
      EXPECT_NE(std::string(error.what()).find("in use by another program"), std::string::npos) << error.what();
    }
  }
  // A holder that saves a new file and lets go: the waiter ends up holding
  // the new file, and reads it.
  std::promise<void> holding;
  std::thread holder([&] {
    const ImageLock lock(image, ImageLock::Mode::Exclusive);
    holding.set_value();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    WriteFileSafely(image, saved);
  });
  holding.get_future().wait();
  {
    const ImageLock waiter(image, ImageLock::Mode::Exclusive);
    EXPECT_TRUE(ReadBytes(image) == saved);
    EXPECT_THROW(ImageLock(image, ImageLock::Mode::Shared, std::chrono::milliseconds(20)), HostIoError);
  }
  holder.join();
  EXPECT_THROW(ImageLock(dir_ / "missing.mgt", ImageLock::Mode::Shared), HostIoError);
}

// A listing's view of an image: its bytes as they are, under the shared
// lock until the next image or Close; a folder is no image, a missing file
// a host error.
TEST_F(SafeSave, ImageViewsReadUnderTheSharedLockUntilClosed) {
  const std::string image = dir_ / "old.mgt";
  ImageFileView view;
  ASSERT_TRUE(view.Open(image));
  EXPECT_EQ(view.Size(), old_.size());
  const auto bytes = view.Bytes();
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), old_.begin(), old_.end()));
  EXPECT_NO_THROW(view.CheckWhole());
  EXPECT_NO_THROW(ImageLock(image, ImageLock::Mode::Shared, std::chrono::milliseconds(0)));
  EXPECT_THROW(ImageLock(image, ImageLock::Mode::Exclusive, std::chrono::milliseconds(0)), HostIoError);

  fs::create_directory(dir_.Path() / "folder.mgt");
  EXPECT_FALSE(view.Open(dir_ / "folder.mgt"));  // and the image before is let go
  EXPECT_NO_THROW(ImageLock(image, ImageLock::Mode::Exclusive, std::chrono::milliseconds(0)));
  ExpectHostError([&] { view.Open(dir_ / "missing.mgt"); }, dir_ / "missing.mgt", std::errc::no_such_file_or_directory);
  ASSERT_TRUE(view.Open(image));
  view.Close();
  EXPECT_NO_THROW(ImageLock(image, ImageLock::Mode::Exclusive, std::chrono::milliseconds(0)));
}

// Read through one view, as ls and find read image after image, every file
// lists as the disk the loader reads from it, in either container and
// whatever its sectors hold; a file the loader refuses is no container
// through the view either, and is never read.
TEST_F(SafeSave, ImageViewsListAsTheLoadedDisk) {
  imagekit::ImageBuilder image;
  image.MasterDos("VIEWED", 80);  // the directory reaches side 1, where MGT order differs
  image.PlaceCodeFile(0, "first", RandomBytes(3000, 4), 32768);
  auto cut = image.PlaceCodeFile(1679, "cut", RandomBytes(9000, 5));
  cut.SetSectorCount(cut.SectorCount() + 1);
  const struct {
    std::string Name;
    std::vector<std::uint8_t> Bytes;
  } files[] = {
      {"built.mgt", EncodeContainer(ContainerKind::Mgt, image.Disk())},
      {"built.SAD", EncodeContainer(ContainerKind::Sad, image.Disk())},
      {"noise.Mgt", RandomBytes(kMgtFileSize, 7)},  // a damaged directory, chains going anywhere
      {"noise.sad", RandomBytes(kSadFileSize, 8)},
      {"short.mgt", RandomBytes(kMgtFileSize - 1, 9)},
      {"long.sad", RandomBytes(kSadFileSize + 1, 10)},
      {"mgt-sized.sad", RandomBytes(kMgtFileSize, 11)},
      {"empty.mgt", {}},
  };
  ImageFileView view;
  for (const auto& file : files) {
    SCOPED_TRACE(file.Name);
    const std::string path = dir_ / file.Name;
    testing::WriteBytes(dir_.Path() / file.Name, file.Bytes);
    auto disk = std::make_unique<DiskImageBuffer>();
    const auto loaded = LoadImageFile(path, *disk);
    ASSERT_TRUE(view.Open(path));
    EXPECT_EQ(view.Size(), file.Bytes.size());
    const auto container = RecogniseContainer(view.Size(), path);
    ASSERT_EQ(container, loaded);
    if (!container) continue;
    EXPECT_TRUE(ListDirectory(ContainerView(*container, view.Bytes())) == ListDirectory(*disk));
    EXPECT_NO_THROW(view.CheckWhole());
  }
}

}  // namespace
}  // namespace vellonix::core
