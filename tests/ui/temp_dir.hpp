// A fresh directory under the host's temporary folder for one test's files,
// removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace vellonix::ui::testing {

class TempDir {
 public:
  TempDir() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
      const auto candidate =
          std::filesystem::temp_directory_path() / ("vellonix-ui-" + std::to_string(random() % 1000000000000ULL));
      if (std::filesystem::create_directory(candidate)) {
        path_ = candidate;
        return;
      }
    }
    throw std::runtime_error("no unique temporary directory");
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  const std::filesystem::path& Path() const { return path_; }

  // The UTF-8 path of `name` inside the directory.
  std::string File(const std::string& name) const {
    const auto text = (path_ / std::filesystem::path(std::u8string(name.begin(), name.end()))).u8string();
    return std::string(text.begin(), text.end());
  }

  // Writes `size` bytes of `fill` to `name` and returns its path.
  std::string WriteBytes(const std::string& name, std::size_t size, char fill = 0) const {
    const std::string path = File(name);
    std::ofstream out(std::filesystem::path(std::u8string(path.begin(), path.end())), std::ios::binary);
    const std::vector<char> bytes(size, fill);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
    return path;
  }

 private:
  std::filesystem::path path_;
};

// The whole contents of a file, or nothing when it cannot be read.
inline std::vector<char> ReadWholeFile(const std::string& utf8Path) {
  std::ifstream in(std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end())), std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace vellonix::ui::testing
