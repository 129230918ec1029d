// What a map reads of the current scene each time it places or draws itself: the view,
// its last scroll, and the world size. Without a current scene the default 640 x 480
// world and view stand in.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/core/rect.h"

namespace platform {
class Surface;
}

namespace quor {

struct MapView {
  float left = 0.0f, top = 0.0f;          // the view's origin in world pixels
  float width = 640.0f, height = 480.0f;  // the view's size
  float lastMoveX = 0.0f, lastMoveY = 0.0f;
  Rect viewRect;  // the view in whole world pixels
  int32_t sceneWidth = 640, sceneHeight = 480;
};

MapView CurrentMapView();

// The map's bitmap at its own size keyed on the colour; null when it cannot be had.
std::unique_ptr<platform::Surface> LoadMapBitmap(const char* file, uint32_t colorKey);

}  // namespace quor
