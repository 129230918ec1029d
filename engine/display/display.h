// Stand-in until the display lands: the display globals and the calls the run function makes.
#pragma once

#include <cstdint>

namespace quor {

extern uint32_t DisplayWidth;
extern uint32_t DisplayHeight;
extern uint32_t DisplayBitsPerPixel;

void SetScreenMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel);
bool InitGraphics();
void ReleaseGraphics();
void ApplyScenePalette();
void LoadAnimationSurfaces();
void ReleaseAnimationSurfaces();
void ToggleFullScreen();
void PresentFrame();

}  // namespace quor
