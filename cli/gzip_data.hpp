// gzip-compressed files, unpacked through zlib with a bound on their size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vellonix::cli {

// Whether `bytes` begin as gzip data do.
bool IsGzip(std::span<const std::uint8_t> bytes);

// The unpacked bytes of all the gzip members in `packed`. CommandError
// when the data are damaged or cut short, or would unpack to more than
// `limit` bytes (so that a small file cannot make us fill the memory).
std::vector<std::uint8_t> Gunzip(std::span<const std::uint8_t> packed, std::size_t limit);

}  // namespace vellonix::cli
