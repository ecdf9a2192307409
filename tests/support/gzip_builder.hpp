// gzip data made through zlib, for the tests and the fuzz seeds: members to
// join, cut or damage.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace vellonix::testing {

inline std::vector<std::uint8_t> GzipBytes(std::span<const std::uint8_t> data) {
  z_stream stream{};
  constexpr int kGzipWindow = 15 + 16;
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kGzipWindow, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("zlib could not be started");
  }
  std::vector<std::uint8_t> out(deflateBound(&stream, static_cast<uLong>(data.size())) + 32);
  stream.next_in = const_cast<Bytef*>(data.data());  // zlib's input is never written
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (status != Z_STREAM_END) throw std::runtime_error("zlib could not pack the data");
  return out;
}

}  // namespace vellonix::testing
