#include "png_file.hpp"

#include "command.hpp"

namespace vellonix::cli {

std::vector<std::uint8_t> EncodePng(const formats::RgbImage& image) {
  std::vector<std::uint8_t> out;
  if (image.Width <= 0 || image.Height <= 0 ||
      image.Pixels.size() != static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height) ||
      !EncodeRgbPng(image, out)) {
    throw CommandError("the PNG file could not be made");
  }
  return out;
}

}  // namespace vellonix::cli
