// The drawing of the five kinds of map. Every piece is one blit from the map's bitmap into
// the back buffer; pieces that reach past the back buffer are cut by its clipping.

#include <cstdint>

#include "engine/core/engine_globals.h"
#include "engine/display/bitmap.h"
#include "engine/display/display.h"
#include "engine/display/geometrics_drawn.h"
#include "engine/display/map.h"
#include "engine/display/map_view.h"
#include "engine/display/variable.h"
#include "engine/display/view_port.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/game_node.h"
#include "platform/surface.h"

namespace quor {

namespace {

constexpr const char* kDrawLocation = "DisplayMap";
constexpr uint32_t kShapeColor = 0xFFFFFF;

platform::PixelRect ToPixelRect(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The remainder of value by period taken into [0, period).
int32_t WrapInto(int32_t value, int32_t period) {
  int32_t m = value % period;
  if (m < 0) m += period;
  return m;
}

bool Intersects(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom &&
         a.left < a.right && a.top < a.bottom && b.left < b.right && b.top < b.bottom;
}

// A drifting position moved by one step, kept within [0, room].
float DriftWithinRoom(float position, float drift, int32_t room) {
  const float next = position + drift;
  if (next < 0.0f) return 0.0f;
  if (next >= static_cast<float>(room)) return static_cast<float>(room);
  return next;
}

// A position that left [0, extent] by less than one extent, brought back in.
float WrapOnce(float value, float extent) {
  if (value > extent) return value - extent;
  if (value < 0.0f) return value + extent;
  return value;
}

}  // namespace

MapView CurrentMapView() {
  MapView view;
  if (!CurrentGameNode) {
    SetRect(&view.viewRect, 0, 0, 640, 480);
    return view;
  }
  const ViewPort& port = CurrentGameNode->viewPort;
  view.left = port.GetLeft();
  view.top = port.GetTop();
  view.width = port.GetViewWidth();
  view.height = port.GetViewHeight();
  const auto move = port.GetLastMove();
  view.lastMoveX = move.x;
  view.lastMoveY = move.y;
  view.viewRect = port.GetViewRect();
  view.sceneWidth = CurrentGameNode->GetWidth();
  view.sceneHeight = CurrentGameNode->GetHeight();
  return view;
}

std::unique_ptr<platform::Surface> LoadMapBitmap(const char* file, uint32_t colorKey) {
  if (!DirectDrawObject || !file || !file[0]) return nullptr;
  return LoadBitmapSurface(DirectDrawObject, file, 0, 0, colorKey);
}

uint32_t Map::BlitPiece(const Rect* destination, const Rect& source) {
  const uint32_t flags =
      (blitFlags & (kBlitWaitKeySource & ~kBlitWait)) ? platform::BlitKeySource : platform::BlitPlain;
  const platform::PixelRect src = ToPixelRect(source);
  platform::PixelRect dst;
  if (destination) dst = ToPixelRect(*destination);
  uint32_t result = 0;
  for (int attempt = 0; attempt < 2; ++attempt) {
    // A restore reloads every map's bitmap, so the surfaces are looked up for each try.
    if (!BackBuffer || !surface) return 0;
    result = platform::Code(
        BackBuffer->Blit(destination ? &dst : nullptr, *surface, &src, flags));
    if (result != platform::Code(platform::SurfaceResult::SurfaceLost) || attempt == 1) break;
    RestoreGraphics();
  }
  return result;
}

void Map::DrawPieces(int32_t count) {
  uint32_t result = 0;
  for (int32_t i = 0; i < count; ++i)
    result = BlitPiece(&rects[kDestA + i], rects[kSourceA + i]);
  ReportDrawError(result, kDrawLocation);
}

void Map::Render() {
  switch (display) {
    case Display::Master:
      DisplayMaster();
      break;
    case Display::Standard:
      DisplayStandard();
      break;
    case Display::Wrapped:
      DisplayWrapped();
      break;
    case Display::ContinuousFitting:
      DisplayContinuousFitting();
      break;
    case Display::ContinuousExceeding:
      DisplayContinuousExceeding();
      break;
    case Display::BigWrapped:
      DisplayBigWrapped();
      break;
    case Display::None:
      break;
  }
  if (showShapes) {
    GeometricsDrawn pen;
    for (Node* n = segments.GetHead(); !n->IsEnd(); n = n->GetNext()) {
      auto* shape = AsCollisionShape(n);
      if (!shape) continue;
      if (shape->GetShapeType() == CollisionShape::SegmentShape) {
        auto* s = static_cast<CollisionSegment*>(shape);
        pen.DrawLine(s->GetX1() + worldX, s->GetY1() + worldY,
                     s->GetX1() + s->GetDirectionX() * s->GetLengthX() + worldX,
                     s->GetY1() + s->GetDirectionY() * s->GetLengthY() + worldY, kShapeColor);
      } else {
        auto* c = static_cast<CollisionCircle*>(shape);
        pen.DrawCircle(c->GetX() + worldX, c->GetY() + worldY, c->GetRadius(), kShapeColor);
      }
    }
  }
  if (visible)
    for (uint32_t i = 0; i < textBoxes.Size(); ++i)
      if (textBoxes[i]) textBoxes[i]->DrawOnMap();
}

void Map::DisplayMaster() {
  if (!visible || Paused) return;
  const MapView view = CurrentMapView();
  rects[kSourceRect] = view.viewRect;
  ReportDrawError(BlitPiece(nullptr, rects[kSourceRect]), kDrawLocation);
}

void Map::DisplayStandard() {
  const MapView view = CurrentMapView();
  if (scrollFactorX == 0.0f && scrollFactorY == 0.0f) {
    // Drifting on its own, the map stays within the room the scene leaves it.
    if (roomX != 0) worldX = DriftWithinRoom(worldX, driftX, roomX);
    if (roomY != 0) worldY = DriftWithinRoom(worldY, driftY, roomY);
  } else {
    if (roomX != 0) worldX += view.lastMoveX * scrollFactorX;
    if (roomY != 0) worldY += view.lastMoveY * scrollFactorY;
  }
  screenX = static_cast<int32_t>(worldX - view.left);
  screenY = static_cast<int32_t>(worldY - view.top);
  Rect& dest = rects[kDestA];
  const Rect& source = rects[kSourceRect];
  SetRect(&dest, source.left + screenX, source.top + screenY, source.right + screenX,
          source.bottom + screenY);
  if (!visible || Paused) return;
  Rect screen;
  SetRect(&screen, 0, 0, static_cast<int32_t>(view.width), static_cast<int32_t>(view.height));
  if (Intersects(dest, screen)) ReportDrawError(BlitPiece(&dest, source), kDrawLocation);
}

void Map::DisplayWrapped() {
  if (!visible || Paused || periodX <= 0 || periodY <= 0) return;
  const MapView view = CurrentMapView();
  const float stepX = view.lastMoveX * scrollFactorX + driftX;
  const float stepY = view.lastMoveY * scrollFactorY + driftY;
  wrapFX -= stepX;
  wrapFY -= stepY;
  wrapX = static_cast<int32_t>(wrapFX);
  wrapY = static_cast<int32_t>(wrapFY);
  // A negative offset takes remainder plus period, so a negative whole number of periods
  // lands on the period itself.
  int32_t mx = wrapX < 0 ? wrapX % periodX + periodX : wrapX % periodX;
  int32_t my = wrapY < 0 ? wrapY % periodY + periodY : wrapY % periodY;
  const Rect& home = rects[kSourceB];
  if (mx >= home.right) mx -= periodX;
  if (my >= home.bottom) my -= periodY;
  Rect& piece = rects[kDestB];
  SetRect(&piece, home.left - mx, home.top - my, home.right - mx, home.bottom - my);
  Rect& dest = rects[kDestA];
  const int32_t vw = static_cast<int32_t>(view.width), vh = static_cast<int32_t>(view.height);
  SetRect(&dest, piece.left > 0 ? piece.left : 0, piece.top > 0 ? piece.top : 0,
          piece.right < vw ? piece.right : vw, piece.bottom < vh ? piece.bottom : vh);
  if (dest.left >= dest.right || dest.top >= dest.bottom) return;
  Rect& source = rects[kSourceA];
  SetRect(&source, dest.left - piece.left, dest.top - piece.top, dest.right - piece.left,
          dest.bottom - piece.top);
  ReportDrawError(BlitPiece(&dest, source), kDrawLocation);
}

void Map::DisplayContinuousFitting() {
  if (!visible || Paused) return;
  const MapView view = CurrentMapView();
  const float stepX = view.lastMoveX * scrollFactorX + driftX;
  const float stepY = view.lastMoveY * scrollFactorY + driftY;
  wrapFX = WrapOnce(wrapFX + stepX, view.width);
  wrapFY = WrapOnce(wrapFY + stepY, view.height);
  screenX = static_cast<int32_t>(wrapFX);
  screenY = static_cast<int32_t>(wrapFY);

  const int32_t sx = screenX, sy = screenY;
  const int32_t w = static_cast<int32_t>(width), h = static_cast<int32_t>(height);
  const int32_t vw = static_cast<int32_t>(view.width), vh = static_cast<int32_t>(view.height);
  if (sx > spareX && stepY == 0.0f) {
    // Past the right edge: the cut-off part comes back in at the left.
    SetRect(&rects[kDestA], sx, sy, vw, sy + h);
    SetRect(&rects[kSourceA], 0, 0, vw - sx, h);
    SetRect(&rects[kDestB], 0, sy, sx + w - vw, sy + h);
    SetRect(&rects[kSourceB], vw - sx, 0, w, h);
    DrawPieces(2);
  } else if (sy > spareY && stepX == 0.0f) {
    SetRect(&rects[kDestA], sx, sy, sx + w, vh);
    SetRect(&rects[kSourceA], 0, 0, w, vh - sy);
    SetRect(&rects[kDestB], sx, 0, sx + w, sy + h - vh);
    SetRect(&rects[kSourceB], 0, vh - sy, w, h);
    DrawPieces(2);
  } else {
    SetRect(&rects[kDestC], sx, sy, sx + w, sy + h);
    SetRect(&rects[kSourceRect], 0, 0, w, h);
    ReportDrawError(BlitPiece(&rects[kDestC], rects[kSourceRect]), kDrawLocation);
  }
}

void Map::DisplayContinuousExceeding() {
  if (!visible || Paused || width == 0 || height == 0) return;
  const MapView view = CurrentMapView();
  const float stepX = view.lastMoveX * scrollFactorX + driftX;
  const float stepY = view.lastMoveY * scrollFactorY + driftY;
  wrapFX -= stepX;
  wrapFY -= stepY;
  wrapX = static_cast<int32_t>(wrapFX);
  wrapY = static_cast<int32_t>(wrapFY);
  const int32_t w = static_cast<int32_t>(width), h = static_cast<int32_t>(height);
  const int32_t vw = static_cast<int32_t>(view.width), vh = static_cast<int32_t>(view.height);
  const int32_t mx = WrapInto(wrapX, w), my = WrapInto(wrapY, h);
  const int32_t sx = screenX, sy = screenY;
  const bool movesX = scrollFactorX != 0.0f || driftX != 0.0f;
  const bool movesY = scrollFactorY != 0.0f || driftY != 0.0f;
  if (movesX && w < mx + vw) {
    SetRect(&rects[kDestA], 0, sy, w - mx, sy + h);
    SetRect(&rects[kSourceA], mx, 0, w, h);
    SetRect(&rects[kDestB], w - mx, sy, vw, sy + h);
    SetRect(&rects[kSourceB], 0, 0, vw - (w - mx), h);
    DrawPieces(2);
  } else if (movesY && h < my + vh) {
    SetRect(&rects[kDestA], sx, 0, sx + w, h - my);
    SetRect(&rects[kSourceA], 0, my, w, h);
    SetRect(&rects[kDestB], sx, h - my, sx + w, vh);
    SetRect(&rects[kSourceB], 0, 0, w, vh - (h - my));
    DrawPieces(2);
  } else if (!movesX) {
    // A vertical strip.
    SetRect(&rects[kDestA], sx, 0, sx + w, vh);
    SetRect(&rects[kSourceA], 0, my, w, my + vh);
    DrawPieces(1);
  } else {
    // A horizontal strip.
    SetRect(&rects[kDestA], 0, sy, vw, sy + h);
    SetRect(&rects[kSourceA], mx, 0, mx + vw, h);
    DrawPieces(1);
  }
}

void Map::DisplayBigWrapped() {
  if (!visible || Paused || width == 0 || height == 0) return;
  const MapView view = CurrentMapView();
  if (scrollFactorX == 0.0f && scrollFactorY == 0.0f) {
    wrapFX -= driftX;
    wrapFY -= driftY;
  } else {
    wrapFX -= view.lastMoveX * scrollFactorX;
    wrapFY -= view.lastMoveY * scrollFactorY;
  }
  wrapX = static_cast<int32_t>(wrapFX);
  wrapY = static_cast<int32_t>(wrapFY);
  const int32_t w = static_cast<int32_t>(width), h = static_cast<int32_t>(height);
  const int32_t vw = static_cast<int32_t>(view.width), vh = static_cast<int32_t>(view.height);
  const int32_t mx = WrapInto(wrapX, w), my = WrapInto(wrapY, h);
  const bool pastRight = w < mx + vw, pastBottom = h < my + vh;
  if (pastRight && !pastBottom) {
    SetRect(&rects[kDestA], 0, 0, w - mx, vh);
    SetRect(&rects[kSourceA], mx, my, w, my + vh);
    SetRect(&rects[kDestB], w - mx, 0, vw, vh);
    SetRect(&rects[kSourceB], 0, my, vw - (w - mx), my + vh);
    DrawPieces(2);
  } else if (pastRight && pastBottom) {
    SetRect(&rects[kDestA], 0, 0, w - mx, h - my);
    SetRect(&rects[kSourceA], mx, my, w, h);
    SetRect(&rects[kDestB], w - mx, 0, vw, h - my);
    SetRect(&rects[kSourceB], 0, my, vw - (w - mx), h);
    SetRect(&rects[kDestC], 0, h - my, w - mx, vh);
    SetRect(&rects[kSourceC], mx, 0, w, vh - (h - my));
    SetRect(&rects[kDestD], w - mx, h - my, vw, vh);
    SetRect(&rects[kSourceD], 0, 0, vw - (w - mx), vh - (h - my));
    DrawPieces(4);
  } else if (pastBottom) {
    SetRect(&rects[kDestA], 0, 0, vw, h - my);
    SetRect(&rects[kSourceA], mx, my, mx + vw, h);
    SetRect(&rects[kDestB], 0, h - my, vw, vh);
    SetRect(&rects[kSourceB], mx, 0, mx + vw, vh - (h - my));
    DrawPieces(2);
  } else {
    SetRect(&rects[kSourceA], mx, my, mx + vw, my + vh);
    ReportDrawError(BlitPiece(nullptr, rects[kSourceA]), kDrawLocation);
  }
}

}  // namespace quor
