// The parts of host file handling that every host shares; the rest is in
// host_file_posix.cpp and host_file_win32.cpp.
#include "vellonix/core/host_file.hpp"

#include <array>
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

fs::path TemporaryNameBeside(const fs::path& target) {
  // ".vlx" + 8 random letters or digits + ".tmp": 16 characters, hidden on
  // POSIX hosts, and recognisably ours if a power cut ever leaves one.
  static constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 random{std::random_device{}()};
  std::string name = ".vlx";
  for (int i = 0; i < 8; ++i) name += kAlphabet[random() % kAlphabet.size()];
  name += ".tmp";
  return target.parent_path() / fs::path(name);
}

HostIoError ImageInUse(const std::string& shown, std::chrono::milliseconds wait) {
  const std::string seconds = std::to_string(wait.count() / 1000) + "." + std::to_string(wait.count() % 1000 / 100);
  return HostIoError(std::make_error_code(std::errc::resource_unavailable_try_again), shown,
                     "in use by another program (still busy after " + seconds + " s); try again");
}

}  // namespace detail

}  // namespace vellonix::core
