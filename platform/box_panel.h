// The game's message box drawn over its own picture, where the desktop has no program to
// show one: drawn here in software, so that what the player reads can be read by a test as
// well.
#pragma once

#include <memory>
#include <string>

#include "platform/font.h"
#include "platform/host.h"
#include "platform/surface.h"

namespace platform {

class BoxPanel {
 public:
  // The largest box: the game's window with a margin on each side, as the prompt keeps.
  static constexpr int kMaxWidth = 560, kMaxHeight = 440;

  // Null when the box's font cannot be found.
  static std::unique_ptr<BoxPanel> Create();

  // The box: its caption in a bar along its top, its icon, its text in lines that fit it and
  // an OK button; as small as these allow. It holds that picture until the next call; null
  // when the picture cannot be made.
  const Surface* Draw(const std::string& text, const std::string& caption, MessageBoxIcon icon);
  // Where the OK button of the box last drawn stands, in the box's own pixels.
  PixelRect Button() const { return button_; }
  const Font& TextFont() const { return *font_; }

 private:
  BoxPanel() = default;

  std::unique_ptr<Font> font_;
  std::unique_ptr<Surface> panel_;
  PixelRect button_;
};

}  // namespace platform
