// What a save asks of Windows beyond the shared rules: its device names are
// no files to replace, and a rename that a brief open of the target
// refuses is tried again rather than failed.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "scratch_dir.hpp"
#include "vellonix/core/host_file.hpp"
#include "vellonix/win32/unique_handle.hpp"

namespace vellonix::core {
namespace {

using testing::ReadBytes;
using win32::UniqueHandle;

class Win32HostFile : public ::testing::Test {
 protected:
  void SetUp() override { testing::WriteBytes(testing::Utf8Path(image_), old_); }

  // The target open as another program that only reads it would have it.
  UniqueHandle OpenForReading() const {
    return UniqueHandle(CreateFileW(testing::Utf8Path(image_).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    0, nullptr));
  }

  testing::ScratchDir dir_;
  const std::string image_ = dir_ / "Ökö.mgt";
  const std::vector<std::uint8_t> old_ = testing::RandomBytes(1000, 1);
  const std::vector<std::uint8_t> new_ = testing::RandomBytes(2000, 2);
};

TEST_F(Win32HostFile, DeviceNamesAreWrittenDirectlyAndNeverImages) {
  EXPECT_EQ(KindOfHostFile("NUL"), HostFileKind::CharacterDevice);
  EXPECT_EQ(KindOfHostFile(image_), HostFileKind::Regular);
  EXPECT_EQ(KindOfHostFile(dir_.File("missing.mgt")), HostFileKind::Missing);
  std::filesystem::create_directory(dir_.Path() / "folder");
  EXPECT_EQ(KindOfHostFile(dir_ / "folder"), HostFileKind::Directory);
  WriteOutputFile("NUL", new_);
  EXPECT_THROW(WriteFileSafely("NUL", new_), HostIoError);
  EXPECT_THROW(HostInputFile("NUL"), HostIoError);
}

TEST_F(Win32HostFile, SaveWaitsOutABriefOpenOfTheTargetButNotAStuckOne) {
  UniqueHandle reader = OpenForReading();
  ASSERT_TRUE(reader.Valid());
  std::thread closer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    reader = UniqueHandle();
  });
  WriteFileSafely(image_, new_);
  closer.join();
  EXPECT_TRUE(ReadBytes(image_) == new_);

  const UniqueHandle stuck = OpenForReading();
  ASSERT_TRUE(stuck.Valid());
  EXPECT_THROW(WriteFileSafely(image_, old_), HostIoError);
  EXPECT_TRUE(ReadBytes(image_) == new_);
  EXPECT_EQ(dir_.Listing(), std::set<std::string>{"Ökö.mgt"});
}

// New files that saves left when their process was ended are cleared away
// by the next exclusive lock of their image; one still open is a save
// running, and one of another image is not this image's to clear.
TEST_F(Win32HostFile, ExclusiveLockClearsAwayLeftOverNewFilesNobodyHasOpen) {
  const auto beside = [&](const std::string& target) {
    const std::filesystem::path path = detail::TemporaryNameBeside(testing::Utf8Path(target));
    testing::WriteBytes(path, old_);
    return path;
  };
  beside(image_);
  const std::filesystem::path running = beside(image_), other = beside(dir_ / "other.mgt");
  const UniqueHandle save(CreateFileW(running.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
  ASSERT_TRUE(save.Valid());
  { const ImageLock lock(image_, ImageLock::Mode::Exclusive); }
  const auto name = [](const std::filesystem::path& path) {
    const auto text = path.filename().u8string();
    return std::string(text.begin(), text.end());
  };
  EXPECT_EQ(dir_.Listing(), (std::set<std::string>{"Ökö.mgt", name(running), name(other)}));
}

}  // namespace
}  // namespace vellonix::core
