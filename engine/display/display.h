// The display: the mode, the primary surface and the back buffer that every drawing goes
// into, the gamma control of full screen, the scene palette of 8-bit modes, the surfaces of
// the animation frames, recovery of lost surfaces, the switch between full screen and a
// window, and the presentation of each finished frame. One display for the whole run.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/surface.h"

namespace platform {
class VideoOutput;
}

namespace quor {

class PixelWriter;
class SpriteFrame;

// Mode of the display; 640 x 480 x 16 until the game chooses.
extern uint32_t DisplayWidth;
extern uint32_t DisplayHeight;
extern uint32_t DisplayBitsPerPixel;  // depth of the full-screen mode
// The display device: the host's video output while the graphics exist, else null.
extern platform::VideoOutput* DirectDrawObject;
// What is shown, and the surface all drawing goes to (owned here).
extern platform::Surface* PrimarySurface;
extern platform::Surface* BackBuffer;
// The gamma ramp of the display: only in full screen, null in a window.
extern platform::VideoOutput* GammaControl;
// The transitions' pixel access to the back buffer; lives as long as the display surfaces.
extern PixelWriter* ScreenPixelWriter;
// The current directory followed by "\BITMAPS\": the prefix of every bitmap file name.
extern char BitmapDirectory[256];

// Stores the mode that InitGraphics will set.
void SetScreenMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel);
// Builds the whole display; false when there is no display device.
bool InitGraphics();
// Releases what InitGraphics built.
void ReleaseGraphics();
// The steps of InitGraphics and RestoreGraphics, in this order.
void SetCooperativeLevelAndMode();
void CreateDisplaySurfaces();
void CreateClippers();
// In 8-bit modes, gives the display the palette of the bitmap named by PaletteName.
void ApplyScenePalette();
// Loads the surface of every animation frame that has none; releases every one.
void LoadAnimationSurfaces();
void ReleaseAnimationSurfaces();
// Rebuilds the display after lost surfaces and reloads what was lost; the caller then
// repeats its failed call once.
void RestoreGraphics();
// Switches between full screen and a window, rebuilding every surface.
void ToggleFullScreen();
// Shows the back buffer (nothing while paused); a failure is reported, not fatal.
void PresentFrame();
// Shows the back buffer again in a window, paused or not (the window's repaint).
void RepaintWindow();

// A new surface holding one animation frame's bitmap at the frame's size with its colour
// key, or null when the bitmap cannot be loaded; the caller owns it.
platform::Surface* LoadFrameSurface(const SpriteFrame& frame);

// A new off-screen surface in the display's pixel format (8-bit surfaces take the
// display's palette); null for a size below 1.
std::unique_ptr<platform::Surface> CreateOffscreenSurface(int width, int height);

}  // namespace quor
