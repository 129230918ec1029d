// A line of the host's own over the top of the game's picture, for while the game stands
// still for a reason the picture cannot show (a save waiting for another game's): drawn here
// in software, so that what the player reads can be read by a test as well.
#pragma once

#include <memory>
#include <string>

#include "platform/font.h"
#include "platform/surface.h"

namespace platform {

class NoticeBand {
 public:
  // As wide as the game's frame, and as high as a line with a margin above and below it.
  static constexpr int kWidth = 640, kHeight = 28;

  // Null when the band's font cannot be found or its picture made.
  static std::unique_ptr<NoticeBand> Create();

  // The band with the text in the middle of it; it holds that picture until the next call.
  const Surface& Draw(const std::string& text);
  const Font& TextFont() const { return *font_; }

 private:
  NoticeBand() = default;

  std::unique_ptr<Font> font_;
  std::unique_ptr<Surface> band_;
};

}  // namespace platform
