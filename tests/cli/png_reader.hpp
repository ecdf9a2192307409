// PNG files decoded to RGB for the tests: through libpng on POSIX hosts,
// through the Windows Imaging Component's decoder on Windows.
#pragma once

#include <cstdint>
#include <vector>

#include "vellonix/formats/screen.hpp"

namespace vellonix::testing {

struct Png {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Rgb;
  formats::Rgb At(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * Width + x) * 3;
    return {Rgb[at], Rgb[at + 1], Rgb[at + 2]};
  }
};

// The picture of `file`; 0 × 0 when it is no PNG file.
Png DecodePng(const std::vector<std::uint8_t>& file);

}  // namespace vellonix::testing
