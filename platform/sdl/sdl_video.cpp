#include "platform/sdl/sdl_video.h"

#include <algorithm>

#include "platform/sdl/window_manager_state.h"
#include "platform/surface.h"

namespace platform {

SdlVideo::~SdlVideo() { ReleaseWindow(); }

bool SdlVideo::Open() {
  return SDL_WasInit(SDL_INIT_VIDEO) != 0 || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

bool SdlVideo::SetMode(int width, int height, int bitsPerPixel, bool fullScreen) {
  // Any depth is drawn in software and shown through a 32-bit texture; only depths the
  // surfaces know can be chosen.
  if (fullScreen && bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 &&
      bitsPerPixel != 32)
    return false;
  fullScreenByWindowManager_ = false;
  if (!fullScreen) gamma_ = GammaTable::Identity();
  if (window) PlaceWindow(width, height, fullScreen);
  return true;
}

void SdlVideo::PlaceWindow(int width, int height, bool fullScreen) {
  if (fullScreen && WindowManagerServes(window)) {
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    return;
  }
  // Where no window manager serves, nobody would honour SDL's full screen, which SDL would
  // take for done all the same: the window is laid over the screen as a plain one instead,
  // which the X server sizes as asked. A window is always given its border and size back,
  // served or not: a window manager that started after such a full screen finds the window
  // borderless at the screen's size, and would keep it so.
  SDL_SetWindowFullscreen(window, 0);
  SDL_Rect area{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height};
  if (fullScreen) SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window)), &area);
  SDL_SetWindowBordered(window, fullScreen ? SDL_FALSE : SDL_TRUE);
  SDL_SetWindowSize(window, area.w, area.h);
  SDL_SetWindowPosition(window, area.x, area.y);
}

int SdlVideo::DesktopBitsPerPixel() const { return 32; }

void SdlVideo::ReleaseWindow() {
  for (Overlay* overlay : {&notice_, &panel_}) {
    if (overlay->texture) SDL_DestroyTexture(overlay->texture);
    overlay->texture = nullptr;
  }
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  texture_ = nullptr;
  renderer_ = nullptr;
  textureWidth_ = textureHeight_ = 0;
  haveFrame_ = false;
}

bool SdlVideo::EnsureRenderer(int width, int height) {
  if (!window) return false;
  if (!renderer_) {
    renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) return false;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  }
  if (!texture_ || textureWidth_ != width || textureHeight_ != height) {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, WindowFrame::PixelFormat(), SDL_TEXTUREACCESS_STREAMING,
                                 width, height);
    textureWidth_ = width;
    textureHeight_ = height;
    if (!texture_) return false;
  }
  return true;
}

void SdlVideo::Present(const Surface& frame) { Show(frame, converted_); }

void SdlVideo::PresentOver(const Surface& picture) { Show(picture, over_); }

void SdlVideo::Show(const Surface& picture, WindowFrame& buffer) {
  if (!EnsureRenderer(picture.Width(), picture.Height())) return;
  if (!buffer.Convert(picture, gamma_)) return;
  SDL_UpdateTexture(texture_, nullptr, buffer.Pixels(), buffer.Pitch());
  haveFrame_ = true;
  Redraw();
}

void SdlVideo::ShowGameFrame() {
  if (!converted_.Pixels()) {
    haveFrame_ = false;
    if (!renderer_) return;
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderPresent(renderer_);
    return;
  }
  if (!EnsureRenderer(converted_.Width(), converted_.Height())) return;
  SDL_UpdateTexture(texture_, nullptr, converted_.Pixels(), converted_.Pitch());
  haveFrame_ = true;
  Redraw();
}

void SdlVideo::ShowOverlay(Overlay& overlay, const Surface& picture) {
  if (!overlay.frame.Convert(picture, gamma_)) return;
  if (overlay.texture) SDL_DestroyTexture(overlay.texture);
  overlay.texture = SDL_CreateTexture(renderer_, WindowFrame::PixelFormat(),
                                      SDL_TEXTUREACCESS_STREAMING, picture.Width(), picture.Height());
  if (!overlay.texture) return;
  SDL_UpdateTexture(overlay.texture, nullptr, overlay.frame.Pixels(), overlay.frame.Pitch());
  Redraw();
}

void SdlVideo::HideOverlay(Overlay& overlay) {
  if (!overlay.texture) return;
  SDL_DestroyTexture(overlay.texture);
  overlay.texture = nullptr;
  Redraw();
}

void SdlVideo::ShowNotice(const Surface& band) {
  if (renderer_) ShowOverlay(notice_, band);
}

void SdlVideo::HideNotice() { HideOverlay(notice_); }

void SdlVideo::ShowPanel(const Surface& panel) {
  // Before the game's first frame the box stands in a black window of the frame's size.
  if (renderer_ || EnsureRenderer(640, 480)) ShowOverlay(panel_, panel);
}

void SdlVideo::HidePanel() { HideOverlay(panel_); }

SDL_Rect SdlVideo::PictureRect(int ow, int oh) const {
  const int w = textureWidth_, h = textureHeight_;
  SDL_Rect dst{0, 0, w, h};
  // The window as it is, whatever was asked of it: full screen is a window of the screen's
  // size.
  int ww = 0, wh = 0;
  SDL_Rect screen{};
  if (window) {
    SDL_GetWindowSize(window, &ww, &wh);
    SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window)), &screen);
  }
  const bool fullScreen = ww > 0 && ww == screen.w && wh == screen.h;
  if (fullScreen && ow >= w && oh >= h) {
    int scale = std::min(ow / w, oh / h);
    dst.w = w * scale;
    dst.h = h * scale;
  } else if (ow > 0 && oh > 0) {
    // The largest picture of the frame's shape that the area holds.
    if (int64_t(ow) * h <= int64_t(oh) * w) {
      dst.w = ow;
      dst.h = int(int64_t(ow) * h / w);
    } else {
      dst.h = oh;
      dst.w = int(int64_t(oh) * w / h);
    }
  }
  dst.x = (ow - dst.w) / 2;
  dst.y = (oh - dst.h) / 2;
  return dst;
}

SDL_Rect SdlVideo::PanelRect(const SDL_Rect& picture) const {
  const int w = textureWidth_, h = textureHeight_;
  const int left = (w - panel_.frame.Width()) / 2, top = (h - panel_.frame.Height()) / 2;
  return SDL_Rect{picture.x + left * picture.w / w, picture.y + top * picture.h / h,
                  panel_.frame.Width() * picture.w / w, panel_.frame.Height() * picture.h / h};
}

bool SdlVideo::PanelPoint(int windowX, int windowY, int& x, int& y) const {
  if (!panel_.texture || !window || !renderer_) return false;
  int ww = 0, wh = 0, ow = 0, oh = 0;
  SDL_GetWindowSize(window, &ww, &wh);
  SDL_GetRendererOutputSize(renderer_, &ow, &oh);
  const SDL_Rect panel = PanelRect(PictureRect(ow, oh));
  if (ww <= 0 || wh <= 0 || panel.w <= 0 || panel.h <= 0) return false;
  // Mouse events count the window's points, which a high-density screen makes larger than
  // the drawing's pixels.
  const int64_t px = int64_t(windowX) * ow / ww, py = int64_t(windowY) * oh / wh;
  x = int((px - panel.x) * panel_.frame.Width() / panel.w);
  y = int((py - panel.y) * panel_.frame.Height() / panel.h);
  return true;
}

void SdlVideo::Redraw() {
  if (!renderer_ || !texture_) return;
  int ow = 0, oh = 0;
  SDL_GetRendererOutputSize(renderer_, &ow, &oh);
  const SDL_Rect dst = PictureRect(ow, oh);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  if (haveFrame_) {
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
    if (notice_.texture) {
      SDL_Rect band{dst.x, dst.y, dst.w, dst.h * notice_.frame.Height() / textureHeight_};
      SDL_RenderCopy(renderer_, notice_.texture, nullptr, &band);
    }
  }
  if (panel_.texture) {
    const SDL_Rect panel = PanelRect(dst);
    SDL_RenderCopy(renderer_, panel_.texture, nullptr, &panel);
  }
  SDL_RenderPresent(renderer_);
}

void SdlVideo::FollowWindowManager(bool fullScreen) {
  if (!window) return;
  const bool shown = SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN;
  // A window of a fixed size would stay at its size in the corner of a full screen: SDL's
  // own full screen lets the window manager give it the whole screen.
  if (fullScreen && !shown) {
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    fullScreenByWindowManager_ = true;
  } else if (!fullScreen && shown && fullScreenByWindowManager_) {
    SDL_SetWindowFullscreen(window, 0);
    fullScreenByWindowManager_ = false;
  }
}

}  // namespace platform
