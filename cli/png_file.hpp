// RGB pictures as PNG files: through libpng on POSIX hosts
// (png_file_posix.cpp), through the Windows Imaging Component on Windows
// (png_file_win32.cpp), which Debian's libpng does not reach.
#pragma once

#include <cstdint>
#include <vector>

#include "vellonix/formats/screen.hpp"

namespace vellonix::cli {

// The PNG file of `image`: 8-bit RGB, not interlaced. Throws CommandError
// when the image is malformed or the encoder fails.
std::vector<std::uint8_t> EncodePng(const formats::RgbImage& image);

// The host's encoder, given a well-formed image: appends the PNG file to
// `out`, or returns false.
bool EncodeRgbPng(const formats::RgbImage& image, std::vector<std::uint8_t>& out);

}  // namespace vellonix::cli
