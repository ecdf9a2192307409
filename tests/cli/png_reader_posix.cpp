#include <png.h>

#include "png_reader.hpp"

namespace vellonix::testing {

Png DecodePng(const std::vector<std::uint8_t>& file) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Png png;
  if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return png;
  image.format = PNG_FORMAT_RGB;
  png.Rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, png.Rgb.data(), 0, nullptr)) return png;
  png.Width = static_cast<int>(image.width);
  png.Height = static_cast<int>(image.height);
  return png;
}

}  // namespace vellonix::testing
