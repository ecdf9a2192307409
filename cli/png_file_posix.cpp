// PNG files through libpng.
#include <png.h>

#include <csetjmp>

#include "png_file.hpp"

namespace vellonix::cli {

namespace {

static_assert(sizeof(formats::Rgb) == 3, "RGB pixels are handed to libpng as they lie in memory");

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  try {
    out->insert(out->end(), data, data + length);
  } catch (...) {
    png_error(png, "out of memory");  // returns to the setjmp below, never through libpng's frames
  }
}

void Flush(png_structp) {}

}  // namespace

// Everything between setjmp and the end is trivially destructible, so a
// longjmp from libpng's error handler skips no destructor.
bool EncodeRgbPng(const formats::RgbImage& image, std::vector<std::uint8_t>& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, &AppendBytes, &Flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.Width), static_cast<png_uint_32>(image.Height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.Height; ++y) {
    const formats::Rgb* row = image.Pixels.data() + static_cast<std::ptrdiff_t>(y) * image.Width;
    png_write_row(png, reinterpret_cast<png_const_bytep>(row));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace vellonix::cli
