// RGB pictures as PNG files, through libpng.
#pragma once

#include <cstdint>
#include <vector>

#include "vellonix/formats/screen.hpp"

namespace vellonix::cli {

// The PNG file of `image`: 8-bit RGB, not interlaced. Throws CommandError
// when libpng fails.
std::vector<std::uint8_t> EncodePng(const formats::RgbImage& image);

}  // namespace vellonix::cli
