// Extended attributes (ACLs among them) carried from an old file to the
// new one that replaces it.
#include <sys/xattr.h>

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host_file_posix.hpp"

namespace vellonix::core::posix {

namespace {

// Extended attributes by name; ACLs are among them.
using Attributes = std::map<std::string, std::vector<char>>;

// Reads a list or a value through `call(buffer, size)`, growing the buffer
// while the host says it is too small. False when the host refuses.
template <typename Call>
bool ReadGrowing(std::vector<char>& out, Call call) {
  for (;;) {
    const ssize_t needed = call(nullptr, 0);
    if (needed < 0) return false;
    out.resize(static_cast<std::size_t>(needed));
    const ssize_t got = call(out.data(), out.size());
    if (got >= 0) {
      out.resize(static_cast<std::size_t>(got));
      return true;
    }
    if (errno != ERANGE) return false;
  }
}

// The attributes of a file through its list and get calls; a file system
// without them has none. Nothing when they cannot all be read.
template <typename List, typename Get>
std::optional<Attributes> ReadAttributes(List list, Get get) {
  std::vector<char> names;
  if (!ReadGrowing(names, list)) {
    if (errno == ENOTSUP) return Attributes{};
    return std::nullopt;
  }
  Attributes attributes;
  for (std::size_t at = 0; at < names.size();) {
    const std::string name(names.data() + at);
    at += name.size() + 1;
    std::vector<char> value;
    if (!ReadGrowing(value, [&](char* buffer, std::size_t size) { return get(name.c_str(), buffer, size); })) {
      return std::nullopt;
    }
    attributes.emplace(name, std::move(value));
  }
  return attributes;
}

}  // namespace

bool CopyAttributes(const std::filesystem::path& from, int to) {
  const char* path = from.c_str();
  const auto wanted = ReadAttributes([&](char* buffer, std::size_t size) { return ::llistxattr(path, buffer, size); },
                                     [&](const char* name, char* buffer, std::size_t size) {
                                       return ::lgetxattr(path, name, buffer, size);
                                     });
  const auto present = ReadAttributes([&](char* buffer, std::size_t size) { return ::flistxattr(to, buffer, size); },
                                      [&](const char* name, char* buffer, std::size_t size) {
                                        return ::fgetxattr(to, name, buffer, size);
                                      });
  if (!wanted || !present) return false;
  for (const auto& [name, value] : *present) {
    if (!wanted->contains(name) && ::fremovexattr(to, name.c_str()) != 0) return false;
  }
  for (const auto& [name, value] : *wanted) {
    const auto there = present->find(name);
    if (there != present->end() && there->second == value) continue;
    if (::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0) return false;
  }
  return true;
}


}  // namespace vellonix::core::posix
