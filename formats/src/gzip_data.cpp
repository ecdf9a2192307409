#include "vellonix/formats/gzip_data.hpp"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace vellonix::formats {

namespace {

constexpr int kGzipWindow = 15 + 16;  // zlib's way of asking for a gzip header
constexpr std::size_t kChunk = 64 * 1024;

class Inflater {
 public:
  Inflater() : started_(inflateInit2(&stream_, kGzipWindow) == Z_OK) {}
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  ~Inflater() {
    if (started_) inflateEnd(&stream_);
  }
  bool Started() const { return started_; }
  z_stream& Stream() { return stream_; }

 private:
  z_stream stream_{};
  bool started_ = false;
};

GunzipResult Refused(std::string error) { return {{}, std::move(error)}; }

std::string Damaged(const z_stream& stream) {
  return std::string("the gzip data are damaged") + (stream.msg != nullptr ? std::string(": ") + stream.msg : "");
}

}  // namespace

bool IsGzip(std::span<const std::uint8_t> bytes) { return bytes.size() >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B; }

GunzipResult Gunzip(std::span<const std::uint8_t> packed, std::size_t limit) {
  if (packed.size() > std::numeric_limits<uInt>::max()) return Refused("the gzip file is too large");
  Inflater inflater;
  if (!inflater.Started()) return Refused("zlib could not be started");
  z_stream& stream = inflater.Stream();
  stream.next_in = const_cast<Bytef*>(packed.data());  // zlib's input is never written
  stream.avail_in = static_cast<uInt>(packed.size());

  GunzipResult result;
  std::vector<std::uint8_t>& out = result.Bytes;
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
      return Refused("the gzip data unpack to more than " + std::to_string(limit) + " bytes, more than any disk image");
    }
    if (status == Z_STREAM_END) {
      // Another member may follow, as when gzip files are joined.
      if (stream.avail_in == 0 || !IsGzip({stream.next_in, stream.avail_in})) return result;
      if (inflateReset(&stream) != Z_OK) return Refused(Damaged(stream));
      continue;
    }
    if (status == Z_BUF_ERROR && stream.avail_in == 0) return Refused("the gzip data are cut short");
    const bool stuck = out.size() == before && stream.avail_in == inputBefore;
    if ((status != Z_OK && status != Z_BUF_ERROR) || stuck) return Refused(Damaged(stream));
  }
}

}  // namespace vellonix::formats
