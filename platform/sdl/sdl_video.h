// The window's picture: "full screen" is desktop full screen at the same logical size,
// made by the window manager, or where none makes it, by a window laid over the screen; the
// frame is scaled by whole multiples where it fits and shrunk to fit otherwise. A window is
// made the frame's own size and cannot be resized, and where it is given another size all
// the same the frame fills it. The picture is drawn for the size the window has, never for
// the size asked for; the frame keeps its shape, centred with black bars; the gamma ramp is
// applied to what is shown.
#pragma once

#include <SDL.h>

#include <vector>

#include "platform/video_output.h"
#include "platform/window_frame.h"

namespace platform {

class SdlVideo : public VideoOutput {
 public:
  SdlVideo() : gamma_(GammaTable::Identity()) {}
  ~SdlVideo() override;

  bool Open() override;
  bool SetMode(int width, int height, int bitsPerPixel, bool fullScreen) override;
  int DesktopBitsPerPixel() const override;
  void Present(const Surface& frame) override;
  void SetGammaRamp(const GammaTable& ramp) override { gamma_ = ramp; }
  GammaTable GetGammaRamp() const override { return gamma_; }

  // Shows a picture of the host's own (the prompt typed into the window) in place of the
  // game's frame, which is kept to be shown again by ShowGameFrame.
  void PresentOver(const Surface& picture);
  // Shows the last frame the game presented again, whatever was shown over it since; a
  // black window before the game's first frame.
  void ShowGameFrame();
  // Shows a band of the host's own (NoticeBand) over the top of the picture, scaled with
  // it, until HideNotice.
  void ShowNotice(const Surface& band);
  void HideNotice();
  // Shows a box of the host's own (BoxPanel) in the middle of the picture, scaled with it,
  // until HidePanel; over a black window before the game's first frame.
  void ShowPanel(const Surface& panel);
  void HidePanel();
  // The point of the window (in the window's coordinates, as mouse events give them) in the
  // pixels of the panel shown; false when no panel is shown.
  bool PanelPoint(int windowX, int windowY, int& x, int& y) const;
  // Shows the last presented picture again (after the window was resized or exposed).
  void Redraw();
  // The window manager made the window full screen (its key or menu), or took back a full
  // screen it made: the picture is shown as F12's full screen shows it, and the window comes
  // back as it was. A full screen of the game's own stays the game's.
  void FollowWindowManager(bool fullScreen);
  // Frees what belongs to the window; called before the window is destroyed.
  void ReleaseWindow();

  SDL_Window* window = nullptr;

 private:
  // Makes the window full screen, or a window of the size given, centred.
  void PlaceWindow(int width, int height, bool fullScreen);
  bool EnsureRenderer(int width, int height);
  // Shows picture, converted into buffer on the way.
  void Show(const Surface& picture, WindowFrame& buffer);
  // Where the picture stands in a drawing area of the size given, and where the panel
  // stands in that picture, in the area's pixels.
  SDL_Rect PictureRect(int areaWidth, int areaHeight) const;
  SDL_Rect PanelRect(const SDL_Rect& picture) const;

  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  WindowFrame converted_;  // the game's last frame in the texture's format
  WindowFrame over_;       // the host's own picture shown over it
  // A picture of the host's own shown over either: the band over the top, the box over the
  // middle.
  struct Overlay {
    WindowFrame frame;
    SDL_Texture* texture = nullptr;
  };
  void ShowOverlay(Overlay& overlay, const Surface& picture);
  void HideOverlay(Overlay& overlay);
  Overlay notice_, panel_;
  int textureWidth_ = 0, textureHeight_ = 0;
  GammaTable gamma_;
  bool haveFrame_ = false;
  bool fullScreenByWindowManager_ = false;
};

}  // namespace platform
