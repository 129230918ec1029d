#include "platform/notice_band.h"

#include "platform/text.h"

namespace platform {

std::unique_ptr<NoticeBand> NoticeBand::Create() {
  std::unique_ptr<NoticeBand> notice(new NoticeBand);
  notice->font_ = HostFont();
  notice->band_ = Surface::Create(kWidth, kHeight, PixelFormat::ForDepth(32));
  if (!notice->font_ || !notice->band_) return nullptr;
  return notice;
}

const Surface& NoticeBand::Draw(const std::string& text) {
  Surface& band = *band_;
  const Font& font = *font_;
  band.Fill(nullptr, band.MatchColor(kHostPaper));
  const int width = font.Measure(text.data(), text.size()).width;
  DrawText(band, font, (kWidth - width) / 2, (kHeight - font.Height()) / 2, text.c_str(),
           text.size(), kHostInk);
  return band;
}

}  // namespace platform
