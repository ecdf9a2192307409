#include "gzip_data.hpp"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <string>

#include "command.hpp"

namespace vellonix::cli {

namespace {

constexpr int kGzipWindow = 15 + 16;  // zlib's way of asking for a gzip header
constexpr std::size_t kChunk = 64 * 1024;

class Inflater {
 public:
  Inflater() {
    if (inflateInit2(&stream_, kGzipWindow) != Z_OK) throw CommandError("zlib could not be started");
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  ~Inflater() { inflateEnd(&stream_); }
  z_stream& Stream() { return stream_; }

 private:
  z_stream stream_{};
};

std::string Damaged(const z_stream& stream) {
  return std::string("the gzip data are damaged") + (stream.msg != nullptr ? std::string(": ") + stream.msg : "");
}

}  // namespace

bool IsGzip(std::span<const std::uint8_t> bytes) { return bytes.size() >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B; }

std::vector<std::uint8_t> Gunzip(std::span<const std::uint8_t> packed, std::size_t limit) {
  if (packed.size() > std::numeric_limits<uInt>::max()) throw CommandError("the gzip file is too large");
  Inflater inflater;
  z_stream& stream = inflater.Stream();
  stream.next_in = const_cast<Bytef*>(packed.data());  // zlib's input is never written
  stream.avail_in = static_cast<uInt>(packed.size());

  std::vector<std::uint8_t> out;
  for (;;) {
    const std::size_t room = std::min(kChunk, limit + 1 - out.size());
    const std::size_t before = out.size();
    const uInt inputBefore = stream.avail_in;
    out.resize(before + room);
    stream.next_out = out.data() + before;
    stream.avail_out = static_cast<uInt>(room);
    const int status = inflate(&stream, Z_NO_FLUSH);
    out.resize(before + room - stream.avail_out);
    if (out.size() > limit) {
      throw CommandError("the gzip data unpack to more than " + std::to_string(limit) + " bytes, more than any disk image");
    }
    if (status == Z_STREAM_END) {
      // Another member may follow, as when gzip files are joined.
      if (stream.avail_in == 0 || !IsGzip({stream.next_in, stream.avail_in})) return out;
      if (inflateReset(&stream) != Z_OK) throw CommandError(Damaged(stream));
      continue;
    }
    if (status == Z_BUF_ERROR && stream.avail_in == 0) throw CommandError("the gzip data are cut short");
    const bool stuck = out.size() == before && stream.avail_in == inputBefore;
    if ((status != Z_OK && status != Z_BUF_ERROR) || stuck) throw CommandError(Damaged(stream));
  }
}

}  // namespace vellonix::cli
