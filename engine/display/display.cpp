#include "engine/display/display.h"

namespace quor {

uint32_t DisplayWidth = 640;
uint32_t DisplayHeight = 480;
uint32_t DisplayBitsPerPixel = 16;

void SetScreenMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
  DisplayWidth = width;
  DisplayHeight = height;
  DisplayBitsPerPixel = bitsPerPixel;
}
bool InitGraphics() { return true; }
void ReleaseGraphics() {}
void ApplyScenePalette() {}
void LoadAnimationSurfaces() {}
void ReleaseAnimationSurfaces() {}
void ToggleFullScreen() {}
void PresentFrame() {}

}  // namespace quor
