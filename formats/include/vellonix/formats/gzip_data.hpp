// gzip-compressed files, unpacked through zlib with a bound on their size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vellonix::formats {

// Whether `bytes` begin as gzip data do.
bool IsGzip(std::span<const std::uint8_t> bytes);

struct GunzipResult {
  std::vector<std::uint8_t> Bytes;
  std::string Error;  // set, and Bytes empty, when the data cannot be unpacked
};

// The unpacked bytes of all the gzip members in `packed`, or the reason
// they cannot be had: the data are damaged or cut short, or would unpack to
// more than `limit` bytes (so that a small file cannot fill the memory).
GunzipResult Gunzip(std::span<const std::uint8_t> packed, std::size_t limit);

}  // namespace vellonix::formats
