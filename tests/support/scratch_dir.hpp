// What every test suite needs of the host: a scratch folder of its own and
// whole-file reads and writes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace vellonix::testing {

namespace fs = std::filesystem;

inline fs::path Utf8Path(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

// A fresh folder under the host's temporary folder, removed with everything
// in it when the test ends.
class ScratchDir {
 public:
  ScratchDir() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
      const auto candidate = fs::temp_directory_path() / ("vellonix-test-" + std::to_string(random() % 1000000000000ULL));
      if (fs::create_directory(candidate)) {
        path_ = candidate;
        return;
      }
    }
    throw std::runtime_error("no unique temporary directory");
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }

  const fs::path& Path() const { return path_; }

  // The UTF-8 path of `name` inside the folder.
  std::string File(const std::string& name) const {
    const auto text = (path_ / Utf8Path(name)).u8string();
    return std::string(text.begin(), text.end());
  }
  std::string operator/(const std::string& name) const { return File(name); }

  // Writes `size` bytes of `fill` to `name` and returns its path.
  std::string WriteFilled(const std::string& name, std::size_t size, char fill = 0) const;

  // What lies directly inside: stray temporary files show up here.
  std::set<std::string> Listing(const std::string& sub = "") const {
    std::set<std::string> names;
    for (const auto& item : fs::directory_iterator(path_ / sub)) {
      const auto name = item.path().filename().u8string();
      names.emplace(name.begin(), name.end());
    }
    return names;
  }

 private:
  fs::path path_;
};

inline std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
inline std::vector<std::uint8_t> ReadBytes(const std::string& utf8Path) { return ReadBytes(Utf8Path(utf8Path)); }

inline void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

inline std::string ScratchDir::WriteFilled(const std::string& name, std::size_t size, char fill) const {
  const std::string path = File(name);
  WriteBytes(Utf8Path(path), std::vector<std::uint8_t>(size, static_cast<std::uint8_t>(fill)));
  return path;
}

inline std::vector<std::uint8_t> RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  return bytes;
}

}  // namespace vellonix::testing
