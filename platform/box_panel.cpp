#include "platform/box_panel.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/text.h"

namespace platform {

namespace {

constexpr int kPad = 16, kIcon = 32, kIconGap = 12, kButtonWidth = 80;
constexpr uint32_t kCaptionBar = 0x00804040, kEdge = 0x00C0C0C0;

// The icon as a desktop's boxes show it: a coloured disc with its mark.
struct IconLook {
  uint32_t disc;
  const char* mark;
};
IconLook LookOf(MessageBoxIcon icon) {
  switch (icon) {
    case MessageBoxIcon::Exclamation: return {0x0000C0FF, "!"};
    case MessageBoxIcon::Stop: return {0x000000D0, "X"};
    case MessageBoxIcon::Question: return {0x00D07020, "?"};
    case MessageBoxIcon::Information:
    case MessageBoxIcon::None: break;
  }
  return {0x00D07020, "i"};
}

int WidthOf(const Font& font, const std::string& text) {
  return font.Measure(text.data(), text.size()).width;
}

void FillRect(Surface& surface, int left, int top, int right, int bottom, uint32_t color) {
  PixelRect rect{left, top, right, bottom};
  surface.Fill(&rect, surface.MatchColor(color));
}

void DrawCentred(Surface& surface, const Font& font, const PixelRect& in, const std::string& text,
                 uint32_t color) {
  DrawText(surface, font, in.left + (in.Width() - WidthOf(font, text)) / 2,
           in.top + (in.Height() - font.Height()) / 2, text.c_str(), text.size(), color);
}

}  // namespace

std::unique_ptr<BoxPanel> BoxPanel::Create() {
  std::unique_ptr<BoxPanel> box(new BoxPanel);
  box->font_ = HostFont();
  if (!box->font_) return nullptr;
  return box;
}

const Surface* BoxPanel::Draw(const std::string& text, const std::string& caption,
                              MessageBoxIcon icon) {
  const Font& font = *font_;
  const int step = font.Height() + 2;
  const int bar = font.Height() + 10;
  const int buttonHeight = font.Height() + 10;
  const int textLeft = kPad + kIcon + kIconGap;
  std::vector<std::string> lines = LinesThatFit(font, text, kMaxWidth - textLeft - kPad);
  // A text of more lines than the window holds keeps its first ones.
  const size_t room = size_t((kMaxHeight - bar - buttonHeight - 3 * kPad) / step);
  if (lines.size() > room) lines.resize(room);
  int width = std::max({WidthOf(font, caption) + 2 * kPad, kButtonWidth + 2 * kPad, 240});
  for (const std::string& line : lines) width = std::max(width, textLeft + WidthOf(font, line) + kPad);
  width = std::min(width, kMaxWidth);
  const int textHeight = std::max(kIcon, int(lines.size()) * step - 2);
  const int height = bar + kPad + textHeight + kPad + buttonHeight + kPad;
  panel_ = Surface::Create(width, height, PixelFormat::ForDepth(32));
  if (!panel_) return nullptr;
  Surface& panel = *panel_;

  FillRect(panel, 0, 0, width, height, kEdge);
  FillRect(panel, 1, 1, width - 1, height - 1, kHostPaper);
  FillRect(panel, 1, 1, width - 1, bar, kCaptionBar);
  DrawText(panel, font, kPad, (bar - font.Height()) / 2, caption.c_str(), caption.size(), kHostInk);

  const int iconTop = bar + kPad;
  const IconLook look = LookOf(icon);
  for (int row = 0; row < kIcon; ++row) {
    const double dy = row + 0.5 - kIcon / 2.0;
    const int half = int(std::sqrt(kIcon * kIcon / 4.0 - dy * dy) + 0.5);
    FillRect(panel, kPad + kIcon / 2 - half, iconTop + row, kPad + kIcon / 2 + half,
             iconTop + row + 1, look.disc);
  }
  // The mark twice, a pixel apart, to stand out as the desktop's bold ones do.
  for (int shift : {0, 1})
    DrawCentred(panel, font, PixelRect{kPad + shift, iconTop, kPad + kIcon + shift, iconTop + kIcon},
                look.mark, kHostPaper);

  int y = bar + kPad;
  for (const std::string& line : lines) {
    DrawText(panel, font, textLeft, y, line.c_str(), line.size(), kHostInk);
    y += step;
  }

  const int buttonTop = bar + kPad + textHeight + kPad;
  button_ = PixelRect{(width - kButtonWidth) / 2, buttonTop, (width + kButtonWidth) / 2,
                      buttonTop + buttonHeight};
  FillRect(panel, button_.left, button_.top, button_.right, button_.bottom, kEdge);
  FillRect(panel, button_.left + 1, button_.top + 1, button_.right - 1, button_.bottom - 1,
           kCaptionBar);
  DrawCentred(panel, font, button_, "OK", kHostInk);
  return &panel;
}

}  // namespace platform
