// Bitmap files through the decoder every picture of the game goes through.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/bitmap_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  platform::Image picture;
  if (platform::DecodeBmp(bytes, picture) &&
      picture.colors.size() != static_cast<size_t>(picture.width) * picture.height)
    __builtin_trap();
  return 0;
}
