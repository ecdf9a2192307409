// The fuzz input: a header that says how the bytes become a disk and which
// edits to make, then a body that describes the disk. The body is compact
// so that an input of a few kilobytes reaches every sector of both sides:
// placed as it stands, repeated over the whole disk, or as chunks placed
// anywhere and repeated. The composed bytes are an MGT or SAD file decoded
// by the core, or the side-major buffer itself.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "vellonix/core/container.hpp"
#include "vellonix/core/geometry.hpp"

namespace vellonix::fuzz {

enum class Container : std::uint8_t { Raw = 0, Mgt = 1, Sad = 2 };

// Prefix: the body from byte 0, the rest zero. Chunks: records
//   offset (3 bytes, little-endian, modulo the size), repeat (2 bytes),
//   length (2 bytes), then `length` bytes placed repeat + 1 times in a row.
// Tiled: the body over and over to the end.
enum class BodyLayout : std::uint8_t { Prefix = 0, Chunks = 1, Tiled = 2 };

enum class EditKind : std::uint8_t { None = 0, Add = 1, Erase = 2, Rename = 3, Label = 4 };
inline constexpr int kEditKinds = 5;

// One edit: its kind byte is kind + 5 x variant; the variant and the three
// argument bytes pick the row, the name and the size.
struct EditStep {
  EditKind Kind = EditKind::None;
  std::uint8_t Variant = 0;
  std::array<std::uint8_t, 3> Args{};
};

inline constexpr std::size_t kEditSteps = 6;
inline constexpr std::size_t kEditBytes = 4;
// Byte 0: container in bits 0-1 (3 reads as MGT), layout in bits 2-3
// (3 reads as chunks); then the edits.
inline constexpr std::size_t kHeaderSize = 1 + kEditSteps * kEditBytes;
inline constexpr std::size_t kChunkHeaderSize = 7;

// Names the edits may take from the input instead of their tables: the
// input's last bytes (which also count in the body).
inline constexpr std::size_t kTailNameBytes = 24;

struct FuzzInput {
  Container Kind = Container::Raw;
  BodyLayout Layout = BodyLayout::Prefix;
  std::array<EditStep, kEditSteps> Edits{};
  std::span<const std::uint8_t> Body;
  std::span<const std::uint8_t> TailName;  // up to kTailNameBytes
};

// Any bytes are an input: a short header reads as zeros (raw prefix, no edits).
FuzzInput ParseInput(std::span<const std::uint8_t> data);

// The size of the bytes a container's layout composes.
std::size_t ComposedSize(Container kind);

// Builds the disk an input describes. The container-sized scratch buffer is
// allocated once and reused, so that a run allocates no megabytes.
class DiskComposer {
 public:
  DiskComposer();
  void Compose(const FuzzInput& input, core::DiskImageBuffer& disk);
  // The container's bytes the last Compose decoded (Mgt or Sad).
  std::span<const std::uint8_t> File(Container kind) const { return {file_->data(), ComposedSize(kind)}; }

 private:
  std::unique_ptr<std::array<std::uint8_t, core::kSadFileSize>> file_;
};

// Writes inputs, for the seed generator: the header, then chunk records.
class InputWriter {
 public:
  explicit InputWriter(Container kind, BodyLayout layout = BodyLayout::Chunks);
  InputWriter& Edit(std::size_t step, EditKind kind, std::uint8_t variant = 0, std::uint8_t a = 0, std::uint8_t b = 0,
                    std::uint8_t c = 0);
  // One record: `data` at `offset` of the composed bytes, repeat + 1 times.
  InputWriter& Chunk(std::size_t offset, std::span<const std::uint8_t> data, std::uint16_t repeat = 0);
  // Records for every run of non-zero bytes of `composed` (as ComposedSize
  // bytes of the container), so that composing gives it back.
  InputWriter& Runs(std::span<const std::uint8_t> composed);
  // The body bytes as they stand (for the prefix and tiled layouts).
  InputWriter& Raw(std::span<const std::uint8_t> body);
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// The container's bytes of `disk` as the layout composes them (raw: the
// buffer; MGT and SAD: the file the core writes).
std::vector<std::uint8_t> ComposedBytesOf(Container kind, const core::DiskImageBuffer& disk);

}  // namespace vellonix::fuzz
