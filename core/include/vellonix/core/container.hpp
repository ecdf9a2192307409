// The two host containers of a disk: MGT (the tracks of both sides
// interleaved) and SAD (a 22-byte header, then the sides one after the
// other). Pure byte work; image_file.hpp adds the host files.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vellonix/core/disk_view.hpp"
#include "vellonix/core/geometry.hpp"

namespace vellonix::core {

enum class ContainerKind { Mgt, Sad };

inline constexpr std::size_t kMgtFileSize = kDiskBytes;
inline constexpr std::size_t kSadHeaderSize = 22;
inline constexpr std::size_t kSadFileSize = kSadHeaderSize + kDiskBytes;
inline constexpr int kMgtBlocks = kSides * kTracksPerSide;  // 160 track sides

// "MGT" or "SAD".
std::string_view ContainerName(ContainerKind kind);

// The header written on every SAD save: signature, sides, tracks, sectors,
// sector size in units of 64 bytes.
std::array<std::uint8_t, kSadHeaderSize> SadHeader();

// A file is an image only when its size and its extension agree: 819,222
// bytes and ".SAD", or 819,200 bytes and ".MGT", in any letter case.
std::optional<ContainerKind> RecogniseContainer(std::uintmax_t fileSize, std::string_view path);

// Why a file of `fileSize` bytes named `path` is no image, in words for the
// user ("819,200 bytes, an MGT image's size, but named .dsk, not .mgt").
std::string WhyNoContainer(std::uintmax_t fileSize, std::string_view path);

// Saving writes MGT for an ".MGT" name (any case), SAD for every other.
ContainerKind ContainerForSave(std::string_view path);

// Offset in DiskImageBuffer of the MGT file's 5,120-byte block number
// track x 2 + side.
constexpr std::size_t MgtBlockBufferOffset(int block) { return TrackSideOffset(block % 2, block / 2); }

// The container's bytes must be exactly its file size; anything else is a
// programming error and throws std::invalid_argument. ContainerView reads
// the disk in place, in the file's own order, for as long as `file` lives.
DiskView ContainerView(ContainerKind kind, std::span<const std::uint8_t> file);
void DecodeContainer(ContainerKind kind, std::span<const std::uint8_t> file, DiskImageBuffer& disk);
std::vector<std::uint8_t> EncodeContainer(ContainerKind kind, const DiskImageBuffer& disk);

}  // namespace vellonix::core
