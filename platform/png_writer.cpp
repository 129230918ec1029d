#include "platform/png_writer.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace platform {

bool WritePng(const std::string& path, const Image& image) {
  if (image.width < 1 || image.height < 1 ||
      image.colors.size() != size_t(image.width) * size_t(image.height))
    return false;
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = png_uint_32(image.width);
  png.height = png_uint_32(image.height);
  png.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(size_t(image.width) * image.height * 3);
  for (size_t i = 0; i < image.colors.size(); ++i) {
    uint32_t c = image.colors[i];
    rgb[3 * i] = RedOf(c);
    rgb[3 * i + 1] = GreenOf(c);
    rgb[3 * i + 2] = BlueOf(c);
  }
  int ok = png_image_write_to_file(&png, path.c_str(), 0, rgb.data(), image.width * 3, nullptr);
  png_image_free(&png);
  return ok != 0;
}

}  // namespace platform
