// Scratch directories and whole-file I/O for the core tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace vellonix::testing {

namespace fs = std::filesystem;

// A fresh folder under the host's temporary folder, unique to the running
// test, removed with its contents when the test ends.
class ScratchDir {
 public:
  ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device seed;
    path_ = fs::temp_directory_path() /
            (std::string("vellonix-core-") + info->test_suite_name() + "-" + info->name() + "-" + std::to_string(seed()));
    fs::create_directories(path_);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }

  const fs::path& Path() const { return path_; }
  std::string operator/(const std::string& leaf) const { return (path_ / leaf).string(); }
  // What lies directly inside: stray temporary files show up here.
  std::set<std::string> Listing(const std::string& sub = "") const {
    std::set<std::string> names;
    for (const auto& item : fs::directory_iterator(path_ / sub)) names.insert(item.path().filename().string());
    return names;
  }

 private:
  fs::path path_;
};

inline std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

inline std::vector<std::uint8_t> RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  return bytes;
}

}  // namespace vellonix::testing
