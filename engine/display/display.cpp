#include "engine/display/display.h"

#include <cstring>
#include <string>

#include "engine/core/engine_globals.h"
#include "engine/display/bitmap.h"
#include "engine/display/map.h"
#include "engine/display/pixel_writer.h"
#include "engine/scene/animation.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"
#include "engine/sound_input/sound_device.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/video_output.h"

namespace quor {

uint32_t DisplayWidth = 640;
uint32_t DisplayHeight = 480;
uint32_t DisplayBitsPerPixel = 16;
platform::VideoOutput* DirectDrawObject = nullptr;
platform::Surface* PrimarySurface = nullptr;
platform::Surface* BackBuffer = nullptr;
platform::VideoOutput* GammaControl = nullptr;
PixelWriter* ScreenPixelWriter = nullptr;
char BitmapDirectory[256] = {};

namespace {

void DeleteDisplaySurfaces() {
  delete ScreenPixelWriter;
  ScreenPixelWriter = nullptr;
  GammaControl = nullptr;
  delete BackBuffer;
  BackBuffer = nullptr;
  delete PrimarySurface;
  PrimarySurface = nullptr;
}

template <typename F>
void ForEachMap(F f) {
  if (!CurrentGameNode) return;
  for (Node* n = CurrentGameNode->maps.GetHead(); n && !n->IsEnd(); n = n->GetNext()) f(*static_cast<Map*>(n));
}

template <typename F>
void ForEachFrame(F f) {
  for (AnimationSet& set : AnimationTable) {
    if (!set.actions) continue;
    for (uint16_t a = 0; a < set.actionCount; ++a) {
      SpriteAction& action = set.actions[a];
      if (!action.frames) continue;
      for (uint16_t i = 0; i < action.frameCount; ++i) f(action.frames[i]);
    }
  }
}

void SetBitmapDirectory() {
  std::string dir = platform::CurrentDirectory() + "\\BITMAPS\\";
  // A directory too long for the name buffer is named relative to the current one: the same
  // folder, reached without cutting its name.
  if (dir.size() >= sizeof BitmapDirectory) dir = "BITMAPS\\";
  std::memcpy(BitmapDirectory, dir.c_str(), dir.size() + 1);
}

}  // namespace

void SetScreenMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
  DisplayWidth = width;
  DisplayHeight = height;
  DisplayBitsPerPixel = bitsPerPixel;
}

bool InitGraphics() {
  SetBitmapDirectory();
  if (!platform::HasHost()) return false;
  platform::VideoOutput& video = platform::CurrentHost().Video();
  if (!video.Open()) return false;
  DirectDrawObject = &video;
  SetCooperativeLevelAndMode();
  CreateDisplaySurfaces();
  CreateClippers();
  ApplyScenePalette();
  delete ScreenPixelWriter;
  ScreenPixelWriter = new PixelWriter;
  return true;
}

void ReleaseGraphics() {
  DeleteDisplaySurfaces();
  DirectDrawObject = nullptr;
}

void SetCooperativeLevelAndMode() {
  if (!DirectDrawObject) return;
  if (Windowed) {
    DirectDrawObject->SetMode(int(DisplayWidth), int(DisplayHeight), DirectDrawObject->DesktopBitsPerPixel(),
                              false);
    return;
  }
  if (DirectDrawObject->SetMode(int(DisplayWidth), int(DisplayHeight), int(DisplayBitsPerPixel), true)) return;
  std::string text = "The mode " + std::to_string(int(DisplayWidth)) + " X " + std::to_string(int(DisplayHeight)) +
                     " X " + std::to_string(int(DisplayBitsPerPixel)) + " is not supported!";
  DirectDrawObject->SetMode(640, 480, 16, true);
  platform::CurrentHost().ShowMessageBox(text, "Quor Error.", platform::MessageBoxIcon::Exclamation);
  QuitRequested = 1;
  // The display globals keep the mode asked for: the surfaces are made for it.
}

void CreateDisplaySurfaces() {
  if (!DirectDrawObject) return;
  // Built once per start or restore; a second build replaces the first rather than leak it.
  delete BackBuffer;
  delete PrimarySurface;
  int bits = Windowed ? DirectDrawObject->DesktopBitsPerPixel() : int(DisplayBitsPerPixel);
  platform::PixelFormat format = platform::PixelFormat::ForDepth(bits);
  PrimarySurface = platform::Surface::Create(int(DisplayWidth), int(DisplayHeight), format).release();
  BackBuffer = platform::Surface::Create(int(DisplayWidth), int(DisplayHeight), format).release();
  // Only full screen owns the display's gamma ramp.
  GammaControl = Windowed ? nullptr : DirectDrawObject;
}

void CreateClippers() {
  // Every blit and pixel write is clipped to the surface it writes, which is what the
  // back buffer's one-rectangle clip list asked for; nothing is left to set up.
}

void ApplyScenePalette() {
  if (!DirectDrawObject || !PrimarySurface || !PrimarySurface->Format().Indexed()) return;
  std::unique_ptr<BitmapPalette> palette = LoadBitmapPalette(DirectDrawObject, PaletteName);
  if (!palette) return;
  PrimarySurface->SetPalette(palette->entries);
  if (BackBuffer) BackBuffer->SetPalette(palette->entries);
}

void LoadAnimationSurfaces() {
  // Frames still holding a surface from an earlier scene keep it: none is loaded twice.
  ForEachFrame([](SpriteFrame& frame) {
    if (!frame.surface) frame.surface = LoadFrameSurface(frame);
  });
}

void ReleaseAnimationSurfaces() {
  ForEachFrame([](SpriteFrame& frame) {
    delete frame.surface;
    frame.surface = nullptr;
  });
}

platform::Surface* LoadFrameSurface(const SpriteFrame& frame) {
  return LoadBitmapSurface(DirectDrawObject, frame.bitmapName, frame.width, frame.height, frame.colorKey).release();
}

void RestoreGraphics() {
  DeleteDisplaySurfaces();
  SetCooperativeLevelAndMode();
  CreateDisplaySurfaces();
  CreateClippers();
  ApplyScenePalette();
  ScreenPixelWriter = new PixelWriter;
  // Only the frames whose memory is gone are loaded again.
  ForEachFrame([](SpriteFrame& frame) {
    if (!frame.surface || !frame.surface->IsLost()) return;
    delete frame.surface;
    frame.surface = LoadFrameSurface(frame);
  });
  ForEachMap([](Map& map) {
    map.ReleaseSurface();
    map.ReloadSurface();
  });
}

void ToggleFullScreen() {
  if (SoundDevice* sounds = GetSoundDevice()) sounds->PauseOrResumeAllSounds(false);
  Windowed = Windowed ? 0 : 1;
  if (platform::HasHost()) platform::CurrentHost().SetCursorVisible(Windowed != 0);
  ReleaseAnimationSurfaces();
  ForEachMap([](Map& map) { map.ReleaseSurface(); });
  ReleaseGraphics();
  // The window's frame and place follow the mode: the host's video output sets them.
  InitGraphics();
  LoadAnimationSurfaces();
  ForEachMap([](Map& map) { map.ReloadSurface(); });
  // Keys and buttons held across the switch would never see their release.
  if (CurrentKeyboard) CurrentKeyboard->ClearKeys();
  if (CurrentMouse) CurrentMouse->ClearButtons();
  // A paused game's sounds wait for the pause to end.
  SoundDevice* sounds = GetSoundDevice();
  if (sounds && !Paused) sounds->PauseOrResumeAllSounds(true);
}

namespace {

// One presentation of the back buffer: a blit into the window's picture, or a flip in full
// screen; a lost surface restores the display and the same call is made once more.
void ShowBackBuffer() {
  if (!DirectDrawObject || !PrimarySurface || !BackBuffer) return;
  platform::PixelRect source{0, 0, int(DisplayWidth), int(DisplayHeight)};
  auto show = [&source]() {
    if (Windowed) return PrimarySurface->Blit(nullptr, *BackBuffer, &source);
    return PrimarySurface->Flip(*BackBuffer);
  };
  platform::SurfaceResult result = show();
  if (result == platform::SurfaceResult::SurfaceLost) {
    RestoreGraphics();
    result = (PrimarySurface && BackBuffer) ? show() : platform::SurfaceResult::InvalidObject;
  }
  if (result == platform::SurfaceResult::Ok) DirectDrawObject->Present(*PrimarySurface);
  ReportDrawError(platform::Code(result), "Brelloc");
}

}  // namespace

void PresentFrame() {
  if (Paused) return;
  ShowBackBuffer();
}

void RepaintWindow() {
  if (Windowed) ShowBackBuffer();
}

std::unique_ptr<platform::Surface> CreateOffscreenSurface(int width, int height) {
  platform::PixelFormat format =
      PrimarySurface ? PrimarySurface->Format() : platform::PixelFormat::ForDepth(int(DisplayBitsPerPixel));
  std::unique_ptr<platform::Surface> surface = platform::Surface::Create(width, height, format);
  if (surface && PrimarySurface && PrimarySurface->Palette()) surface->SetPalette(PrimarySurface->Palette());
  return surface;
}

}  // namespace quor
