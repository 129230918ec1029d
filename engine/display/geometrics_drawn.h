// Lines and hollow circles in world coordinates on the back buffer: the debug outlines of
// collision shapes and rectangles, and the frames and arrows of text boxes. Drawing code
// makes one for each use.
#pragma once

#include <cstdint>

#include "engine/core/node.h"

namespace quor {

class GeometricsDrawn : public Node {
 public:
  Node* Clone() const override { return new GeometricsDrawn(*this); }

  // A one-pixel line in the colour (0x00BBGGRR) from (x1, y1) to (x2, y2), world pixels,
  // leaving out its end pixel.
  void DrawLine(float x1, float y1, float x2, float y2, uint32_t color);
  // The outline of the circle of centre (x, y) and radius r, world pixels.
  void DrawCircle(float x, float y, float r, uint32_t color);
};

}  // namespace quor
