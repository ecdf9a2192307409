#include "fuzz_input.hpp"

#include <algorithm>
#include <cstring>

namespace vellonix::fuzz {

namespace {

// Chunks may overlap and repeat; the bytes they place in all are bounded so
// that no input costs more than a few passes over the disk.
constexpr std::size_t kPlacedBytesLimit = 4 * core::kSadFileSize;

std::size_t ReadLittle(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t width) {
  std::size_t value = 0;
  for (std::size_t i = width; i-- > 0;) value = value << 8 | bytes[at + i];
  return value;
}

void PutLittle(std::vector<std::uint8_t>& out, std::size_t value, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i) & 0xFF));
}

void PlaceChunks(std::span<const std::uint8_t> body, std::span<std::uint8_t> out) {
  std::size_t placed = 0;
  std::size_t at = 0;
  while (at + kChunkHeaderSize <= body.size() && placed < kPlacedBytesLimit) {
    std::size_t offset = ReadLittle(body, at, 3) % out.size();
    const std::size_t copies = ReadLittle(body, at + 3, 2) + 1;
    const std::size_t length = std::min(ReadLittle(body, at + 5, 2), body.size() - at - kChunkHeaderSize);
    const auto data = body.subspan(at + kChunkHeaderSize, length);
    at += kChunkHeaderSize + length;
    for (std::size_t copy = 0; copy < copies && offset < out.size() && !data.empty(); ++copy) {
      const std::size_t count = std::min(data.size(), out.size() - offset);
      std::memcpy(out.data() + offset, data.data(), count);
      offset += count;
      placed += count;
    }
  }
}

void Tile(std::span<const std::uint8_t> body, std::span<std::uint8_t> out) {
  if (body.empty()) return;
  for (std::size_t at = 0; at < out.size(); at += body.size()) {
    std::memcpy(out.data() + at, body.data(), std::min(body.size(), out.size() - at));
  }
}

}  // namespace

FuzzInput ParseInput(std::span<const std::uint8_t> data) {
  std::array<std::uint8_t, kHeaderSize> header{};
  std::copy_n(data.begin(), std::min(data.size(), header.size()), header.begin());
  FuzzInput input;
  const int kind = header[0] & 3;
  const int layout = header[0] >> 2 & 3;
  input.Kind = kind == 3 ? Container::Mgt : static_cast<Container>(kind);
  input.Layout = layout == 3 ? BodyLayout::Chunks : static_cast<BodyLayout>(layout);
  for (std::size_t step = 0; step < kEditSteps; ++step) {
    const std::uint8_t* bytes = &header[1 + step * kEditBytes];
    input.Edits[step] = {static_cast<EditKind>(bytes[0] % kEditKinds),
                         static_cast<std::uint8_t>(bytes[0] / kEditKinds),
                         {bytes[1], bytes[2], bytes[3]}};
  }
  input.Body = data.size() > kHeaderSize ? data.subspan(kHeaderSize) : std::span<const std::uint8_t>{};
  input.TailName = input.Body.last(std::min(input.Body.size(), kTailNameBytes));
  return input;
}

std::size_t ComposedSize(Container kind) { return kind == Container::Sad ? core::kSadFileSize : core::kMgtFileSize; }

DiskComposer::DiskComposer() : file_(std::make_unique<std::array<std::uint8_t, core::kSadFileSize>>()) {}

void DiskComposer::Compose(const FuzzInput& input, core::DiskImageBuffer& disk) {
  // The raw buffer is composed in place; a container in the scratch file.
  const std::span<std::uint8_t> out =
      input.Kind == Container::Raw ? std::span<std::uint8_t>(disk) : std::span(file_->data(), ComposedSize(input.Kind));
  std::memset(out.data(), 0, out.size());
  switch (input.Layout) {
    case BodyLayout::Prefix:
      std::copy_n(input.Body.begin(), std::min(input.Body.size(), out.size()), out.begin());
      break;
    case BodyLayout::Chunks:
      PlaceChunks(input.Body, out);
      break;
    case BodyLayout::Tiled:
      Tile(input.Body, out);
      break;
  }
  if (input.Kind == Container::Mgt) core::DecodeContainer(core::ContainerKind::Mgt, out, disk);
  if (input.Kind == Container::Sad) core::DecodeContainer(core::ContainerKind::Sad, out, disk);
}

InputWriter::InputWriter(Container kind, BodyLayout layout) : bytes_(kHeaderSize, 0) {
  bytes_[0] = static_cast<std::uint8_t>(static_cast<int>(kind) | static_cast<int>(layout) << 2);
}

InputWriter& InputWriter::Edit(std::size_t step, EditKind kind, std::uint8_t variant, std::uint8_t a, std::uint8_t b,
                               std::uint8_t c) {
  std::uint8_t* bytes = &bytes_.at(1 + step * kEditBytes);
  bytes[0] = static_cast<std::uint8_t>(static_cast<int>(kind) + kEditKinds * variant);
  bytes[1] = a;
  bytes[2] = b;
  bytes[3] = c;
  return *this;
}

InputWriter& InputWriter::Chunk(std::size_t offset, std::span<const std::uint8_t> data, std::uint16_t repeat) {
  PutLittle(bytes_, offset, 3);
  PutLittle(bytes_, repeat, 2);
  PutLittle(bytes_, data.size(), 2);
  bytes_.insert(bytes_.end(), data.begin(), data.end());
  return *this;
}

InputWriter& InputWriter::Runs(std::span<const std::uint8_t> composed) {
  std::size_t at = 0;
  while (at < composed.size()) {
    if (composed[at] == 0) {
      ++at;
      continue;
    }
    // A run goes on over gaps of zeros shorter than a record header.
    std::size_t end = at + 1;
    for (std::size_t zeros = 0; end < composed.size() && end - at < 0xFFFF; ++end) {
      zeros = composed[end] == 0 ? zeros + 1 : 0;
      if (zeros > kChunkHeaderSize) break;
    }
    std::size_t last = end;
    while (composed[last - 1] == 0) --last;
    Chunk(at, composed.subspan(at, last - at));
    at = end;
  }
  return *this;
}

InputWriter& InputWriter::Raw(std::span<const std::uint8_t> body) {
  bytes_.insert(bytes_.end(), body.begin(), body.end());
  return *this;
}

std::vector<std::uint8_t> ComposedBytesOf(Container kind, const core::DiskImageBuffer& disk) {
  if (kind == Container::Raw) return {disk.begin(), disk.end()};
  return core::EncodeContainer(kind == Container::Mgt ? core::ContainerKind::Mgt : core::ContainerKind::Sad, disk);
}

}  // namespace vellonix::fuzz
