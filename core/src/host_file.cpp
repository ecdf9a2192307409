// The parts of host file handling that every host shares; the rest is in
// host_file_posix.cpp and host_file_win32.cpp.
#include "vellonix/core/host_file.hpp"

#include <cstdint>
#include <random>

namespace vellonix::core {

namespace fs = std::filesystem;

namespace {

std::string Utf8Of(const fs::path& path) {
  const auto text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

fs::path PathFromUtf8(std::string_view utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

fs::path ResolveSaveTarget(const fs::path& target) {
  fs::path current = target;
  // A bound on link chains, as the host has one: a loop ends in an error.
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(current, error))) return current;
    const fs::path next = fs::read_symlink(current, error);
    if (error) throw HostIoError(error, Utf8Of(target));
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  throw HostIoError(std::make_error_code(std::errc::too_many_symbolic_link_levels), Utf8Of(target));
}

namespace detail {

namespace {

// ".vlx" + 8 hex digits naming the target + "-" + 8 random letters or
// digits + ".tmp": hidden on POSIX hosts, recognisably ours if a killed
// process or a power cut leaves one, and known as the target's.
constexpr std::string_view kTemporaryPrefix = ".vlx";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kTagLength = 8;
constexpr std::size_t kRandomLength = 8;
constexpr std::size_t kTemporaryLength =
    kTemporaryPrefix.size() + kTagLength + 1 + kRandomLength + kTemporarySuffix.size();

// The target's file name folded into 8 hex digits (FNV-1a): the same on
// every host, however the name is spelt there.
std::string TagOf(const fs::path& target) {
  std::uint32_t hash = 2166136261u;
  for (const char ch : Utf8Of(target.filename())) hash = (hash ^ static_cast<unsigned char>(ch)) * 16777619u;
  static constexpr std::string_view kHex = "0123456789abcdef";
  std::string tag(kTagLength, '0');
  for (std::size_t i = 0; i < kTagLength; ++i) tag[i] = kHex[(hash >> (28 - 4 * i)) & 0xF];
  return tag;
}

}  // namespace

fs::path TemporaryNameBeside(const fs::path& target) {
  static constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 random{std::random_device{}()};
  std::string name = std::string(kTemporaryPrefix) + TagOf(target) + "-";
  for (std::size_t i = 0; i < kRandomLength; ++i) name += kAlphabet[random() % kAlphabet.size()];
  name += kTemporarySuffix;
  return target.parent_path() / fs::path(name);
}

bool IsTemporaryNameOf(const fs::path& target, std::string_view name) {
  const std::string head = std::string(kTemporaryPrefix) + TagOf(target) + "-";
  return name.size() == kTemporaryLength && name.starts_with(head) && name.ends_with(kTemporarySuffix);
}

HostIoError ImageInUse(const std::string& shown, std::chrono::milliseconds wait) {
  const std::string seconds = std::to_string(wait.count() / 1000) + "." + std::to_string(wait.count() % 1000 / 100);
  return HostIoError(std::make_error_code(std::errc::resource_unavailable_try_again), shown,
                     "in use by another program (still busy after " + seconds + " s); try again");
}

}  // namespace detail

}  // namespace vellonix::core
