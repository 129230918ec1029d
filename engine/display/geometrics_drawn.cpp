#include "engine/display/geometrics_drawn.h"

#include "engine/core/engine_globals.h"
#include "engine/display/display.h"
#include "engine/display/view_port.h"
#include "engine/scene/game_node.h"
#include "platform/canvas.h"
#include "platform/host.h"

namespace quor {

namespace {

// World to screen: the coordinate is made whole first, then the view's origin is taken off.
int ScreenX(float x) {
  float left = CurrentGameNode ? CurrentGameNode->viewPort.GetLeft() : 0.0f;
  return int(float(int(x)) - left);
}

int ScreenY(float y) {
  float top = CurrentGameNode ? CurrentGameNode->viewPort.GetTop() : 0.0f;
  return int(float(int(y)) - top);
}

bool Refused(platform::Canvas* canvas, const char* caption) {
  if (canvas && canvas->Ready()) return false;
  if (platform::HasHost()) platform::CurrentHost().ShowMessageBox("error", caption, platform::MessageBoxIcon::None);
  return true;
}

}  // namespace

void GeometricsDrawn::DrawLine(float x1, float y1, float x2, float y2, uint32_t color) {
  if (!BackBuffer) {
    Refused(nullptr, "error drawing line in GeometricsDrawn class");
    return;
  }
  platform::Canvas canvas(*BackBuffer);
  if (Refused(&canvas, "error drawing line in GeometricsDrawn class")) return;
  canvas.SetPen(color);
  canvas.Line(ScreenX(x1), ScreenY(y1), ScreenX(x2), ScreenY(y2));
}

void GeometricsDrawn::DrawCircle(float x, float y, float r, uint32_t color) {
  if (!BackBuffer) {
    Refused(nullptr, "error drawing circle in GeometricsDrawn class");
    return;
  }
  platform::Canvas canvas(*BackBuffer);
  if (Refused(&canvas, "error drawing circle in GeometricsDrawn class")) return;
  canvas.SetPen(color);
  canvas.Ellipse(ScreenX(x - r), ScreenY(y - r), ScreenX(x + r), ScreenY(y + r));
}

}  // namespace quor
