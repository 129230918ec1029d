#include "platform/notice_band.h"

#include "platform/text.h"

namespace platform {

std::unique_ptr<NoticeBand> NoticeBand::Create() {
  FontRequest fontRequest;
  fontRequest.face = "Arial";
  fontRequest.height = -16;
  std::unique_ptr<NoticeBand> notice(new NoticeBand);
  notice->font_ = Font::Create(fontRequest);
  notice->band_ = Surface::Create(kWidth, kHeight, PixelFormat::ForDepth(32));
  if (!notice->font_ || !notice->band_) return nullptr;
  return notice;
}

const Surface& NoticeBand::Draw(const std::string& text) {
  Surface& band = *band_;
  const Font& font = *font_;
  // The file prompt's colours: both are the host's own words, not the game's.
  band.Fill(nullptr, band.MatchColor(0x00402020));
  const int width = font.Measure(text.data(), text.size()).width;
  DrawText(band, font, (kWidth - width) / 2, (kHeight - font.Height()) / 2, text.c_str(),
           text.size(), 0x00FFFFFF);
  return band;
}

}  // namespace platform
