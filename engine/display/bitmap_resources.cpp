// The pictures built into the program, drawn here rather than shipped as files: the text
// cursor, the program's icon and its mouse cursor.
#include <strings.h>

#include "engine/display/bitmap.h"

namespace quor {

namespace {

constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;

platform::Image Blank(int w, int h, uint32_t color) {
  platform::Image image;
  image.width = w;
  image.height = h;
  image.colors.assign(size_t(w) * h, color);
  return image;
}

void Put(platform::Image& image, int x, int y, uint32_t color) {
  if (x >= 0 && y >= 0 && x < image.width && y < image.height) image.colors[size_t(y) * image.width + x] = color;
}

// A 10 x 19 I-beam in black on white, white being its key.
platform::Image TextsCursor() {
  platform::Image image = Blank(10, 19, kWhite);
  for (int x = 1; x <= 8; ++x) {
    if (x == 4 || x == 5) continue;
    Put(image, x, 0, kBlack);
    Put(image, x, 18, kBlack);
  }
  for (int y = 1; y <= 17; ++y) {
    Put(image, 4, y, kBlack);
    Put(image, 5, y, kBlack);
  }
  return image;
}

// A 32 x 32 emblem: a ring of gold on dark blue.
platform::Image Icon() {
  platform::Image image = Blank(32, 32, platform::ColorRef(16, 24, 72));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      int dx = 2 * x - 31, dy = 2 * y - 31, d = dx * dx + dy * dy;
      if (d >= 18 * 18 && d <= 26 * 26) Put(image, x, y, platform::ColorRef(240, 200, 40));
      if (d <= 8 * 8) Put(image, x, y, platform::ColorRef(200, 40, 40));
    }
  return image;
}

// A 32 x 32 arrow pointing up-left, black with a white rim, on the green key.
platform::Image Cursor() {
  platform::Image image = Blank(32, 32, 0x00FF00);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x <= y && x < 14; ++x) Put(image, x, y, (x == 0 || x == y || y == 19 || x == 13) ? kWhite : kBlack);
  return image;
}

}  // namespace

const platform::Image* FindBitmapResource(const char* name) {
  if (!name) return nullptr;
  static const platform::Image textsCursor = TextsCursor();
  static const platform::Image icon = Icon();
  static const platform::Image cursor = Cursor();
  if (strcasecmp(name, "TEXTSCURSOR") == 0) return &textsCursor;
  if (strcasecmp(name, "ICON") == 0) return &icon;
  if (strcasecmp(name, "CURSOR") == 0) return &cursor;
  return nullptr;
}

}  // namespace quor
