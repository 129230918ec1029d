// Drawing a sprite's current frame onto the back buffer, and its debug outlines.
#include "engine/core/engine_globals.h"
#include "engine/display/display.h"
#include "engine/display/geometrics_drawn.h"
#include "engine/display/map.h"
#include "engine/display/translucent_blit.h"
#include "engine/scene/animation.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "platform/surface.h"

namespace quor {

namespace {

constexpr uint32_t kShapeOutlineColor = 0x00FF00;
constexpr uint32_t kRectOutlineColor = 0xFFFFFF;

// One try of the frame's blit; the result code as the display reports it.
uint32_t BlitFrame(const SpriteFrame& f, int32_t sx, int32_t sy, uint8_t flipX, uint8_t flipY,
                   float transparency) {
  if (!BackBuffer || !f.surface) return 0;
  if (transparency == 0.0f) {
    platform::PixelRect dest{sx, sy, sx + f.width, sy + f.height};
    platform::PixelRect source{0, 0, f.width, f.height};
    uint32_t flags = platform::BlitPlain;
    if (f.flipXAllowed && flipX) flags |= platform::BlitMirrorLeftRight;
    if (f.flipYAllowed && flipY) flags |= platform::BlitMirrorUpDown;
    if (f.colorKeyOn) flags |= platform::BlitKeySource;
    return platform::Code(BackBuffer->Blit(&dest, *f.surface, &source, flags));
  }
  // A blended frame is neither mirrored nor left to the frame's key switch.
  Rect source;
  SetRect(&source, 0, 0, f.width, f.height);
  int32_t weight = static_cast<int32_t>(transparency * 100.0);
  return TranslucentBlit(BackBuffer, sx, sy, 100, f.surface, &source, weight, true);
}

// Where the sprite stands in the world: its position on its map.
float PlaceX(const Sprite& s) { return (s.map ? s.map->GetWorldX() : 0.0f) + s.x; }
float PlaceY(const Sprite& s) { return (s.map ? s.map->GetWorldY() : 0.0f) + s.y; }

}  // namespace

bool Sprite::IsOnScreen() const {
  SpriteFrame* f = GetCurrentFrame();
  if (!f || !CurrentGameNode) return false;
  const ViewPort& view = CurrentGameNode->viewPort;
  return screenX + f->width >= 0 && screenY + f->height >= 0 &&
         static_cast<float>(screenY) <= view.GetViewHeight() &&
         static_cast<float>(screenX) <= view.GetViewWidth();
}

void Sprite::Draw() {
  if (Paused) return;
  SpriteFrame* f = GetCurrentFrame();
  if (f && visible && IsOnScreen()) {
    uint32_t result = BlitFrame(*f, screenX, screenY, flipX, flipY, transparency);
    if (result == platform::Code(platform::SurfaceResult::SurfaceLost)) {
      // Restoring reloads the frame surfaces, so the frame is looked up again.
      RestoreGraphics();
      if ((f = GetCurrentFrame())) BlitFrame(*f, screenX, screenY, flipX, flipY, transparency);
    }
  }
  if (showCollisionShapes) DrawCollisionShapes(kShapeOutlineColor);
  if (showCollisionRect) DrawCollisionRect(kRectOutlineColor);
}

void Sprite::DrawCollisionRect(uint32_t color) {
  if (!GetCurrentFrame()) return;
  Rect r = GetCollisionRect();
  const float px = PlaceX(*this), py = PlaceY(*this);
  const float left = px + r.left, top = py + r.top, right = px + r.right, bottom = py + r.bottom;
  GeometricsDrawn pen;
  pen.DrawLine(left, top, right, top, color);
  pen.DrawLine(right, top, right, bottom, color);
  pen.DrawLine(right, bottom, left, bottom, color);
  pen.DrawLine(left, bottom, left, top, color);
}

void Sprite::DrawCollisionShapes(uint32_t color) {
  SpriteFrame* f = GetCurrentFrame();
  if (!f) return;
  const float px = PlaceX(*this), py = PlaceY(*this);
  GeometricsDrawn pen;
  const NodeList& shapes = f->shapeLists[FlipIndex(flipX, flipY)];
  for (Node* n = shapes.GetHead(); !n->IsEnd(); n = n->GetNext()) {
    CollisionShape* shape = AsCollisionShape(n);
    if (!shape) continue;
    if (shape->GetShapeType() == CollisionShape::SegmentShape) {
      auto* segment = static_cast<CollisionSegment*>(shape);
      pen.DrawLine(px + segment->GetX1(), py + segment->GetY1(), px + segment->GetX2(),
                   py + segment->GetY2(), color);
    } else {
      auto* circle = static_cast<CollisionCircle*>(shape);
      pen.DrawCircle(px + circle->GetX(), py + circle->GetY(), circle->GetRadius(), color);
    }
  }
}

void Sprite::DrawDirection(uint32_t color) {
  if (!map) return;
  SpriteFrame* f = GetCurrentFrame();
  const float ax = PlaceX(*this) + (f ? f->anchorX : 0);
  const float ay = PlaceY(*this) + (f ? f->anchorY : 0);
  GeometricsDrawn pen;
  pen.DrawLine(ax, ay, ax + directionX * 100.0f, ay + directionY * 100.0f, color);
}

}  // namespace quor
