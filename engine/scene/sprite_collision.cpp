// A sprite's collision with its map and with the other sprites of its map, once per frame
// before it moves: what its outline will touch during this frame's move, how far of the
// move it may go (the time of impact), the surface it runs into (the body segment, which
// the move reflects about), and what it touched, for the behaviours to ask.
//
// Rectangle mode tests the frame's collision rectangle swept over the move and stops the
// sprite on any contact; shape mode runs the frame's outlines through the swept tests and
// stops it at the first touch.

#include <cstdint>
#include <cstring>

#include "engine/display/map.h"
#include "engine/scene/animation.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/sprite.h"

namespace quor {

namespace {

// The collision rectangle's box at the sprite's position, and the same after the move,
// joined: the area the rectangle sweeps this frame (whole pixels).
Rect SweptBox(const Sprite& s) {
  const Rect r = s.GetCollisionRect();
  const float movedX = s.x + s.velocityX, movedY = s.y + s.velocityY;
  const int32_t curLeft = static_cast<int32_t>(static_cast<float>(r.left) + s.x);
  const int32_t curTop = static_cast<int32_t>(static_cast<float>(r.top) + s.y);
  const int32_t curRight = static_cast<int32_t>(static_cast<float>(r.right) + s.x);
  const int32_t curBottom = static_cast<int32_t>(static_cast<float>(r.bottom) + s.y);
  const int32_t movLeft = static_cast<int32_t>(static_cast<float>(r.left) + movedX);
  const int32_t movTop = static_cast<int32_t>(static_cast<float>(r.top) + movedY);
  const int32_t movRight = static_cast<int32_t>(static_cast<float>(r.right) + movedX);
  const int32_t movBottom = static_cast<int32_t>(static_cast<float>(r.bottom) + movedY);
  Rect box;
  if (curLeft < movLeft) {
    box.left = curLeft;
    box.right = movRight;
  } else {
    box.left = movLeft;
    box.right = curRight;
  }
  if (curTop < movTop) {
    box.top = curTop;
    box.bottom = movBottom;
  } else {
    box.top = movTop;
    box.bottom = curBottom;
  }
  return box;
}

// The rectangle of a sprite standing still in frame f (its current one), in whole world
// pixels.
Rect StandingBox(const Sprite& s, const SpriteFrame& f) {
  const Rect r = f.collisionRects[FlipIndex(s.flipX, s.flipY)];
  Rect box;
  box.left = static_cast<int32_t>(s.x + static_cast<float>(r.left));
  box.top = static_cast<int32_t>(s.y + static_cast<float>(r.top));
  box.right = static_cast<int32_t>(s.x + static_cast<float>(r.right));
  box.bottom = static_cast<int32_t>(s.y + static_cast<float>(r.bottom));
  return box;
}

// Whether two rectangles share some area (neither empty).
bool Overlap(const Rect& a, const Rect& b) {
  const int32_t left = a.left > b.left ? a.left : b.left;
  const int32_t right = a.right < b.right ? a.right : b.right;
  const int32_t top = a.top > b.top ? a.top : b.top;
  const int32_t bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
  return left < right && top < bottom;
}

const NodeList* FrameShapes(const Sprite& s) {
  const SpriteFrame* frame = s.GetCurrentFrame();
  return frame ? &frame->shapeLists[FlipIndex(s.flipX, s.flipY)] : nullptr;
}

// How squarely a surface with this normal stands against the move (more negative: more).
float Facing(float normalX, float normalY, const Sprite& s) {
  return normalX * s.directionX + normalY * s.directionY;
}

bool FacesMove(const CollisionSegment& obstacle, const Sprite& s) {
  return Facing(obstacle.GetNormalX(), obstacle.GetNormalY(), s) <= 0.0f;
}

template <typename T>
bool Contains(const DynamicArray<T>& list, T value) {
  for (uint32_t i = 0; i < list.Size(); ++i)
    if (list[i] == value) return true;
  return false;
}

void AddUnique(DynamicArray<CollisionShape*>& list, CollisionShape* shape) {
  if (list.Size() < static_cast<uint32_t>(Sprite::kMaxTouchedShapes) && !Contains(list, shape))
    list.Add(shape);
}

void AddName(Sprite& to, const Sprite& touched) {
  if (to.touchedNames.Size() >= static_cast<uint32_t>(Sprite::kMaxTouchedNames)) return;
  SpriteName entry;
  std::memcpy(entry.name, touched.name, sizeof entry.name);
  to.touchedNames.Add(entry);
}

void AddSprite(Sprite& to, Sprite* touched) {
  if (to.touchedSprites.Size() < static_cast<uint32_t>(Sprite::kMaxTouchedSprites))
    to.touchedSprites.Add(touched);
}

// A contact of a with b (through b's shape, in shape mode) is recorded on both sides.
void RecordContact(Sprite& a, Sprite& b, CollisionShape* shape) {
  if (shape) AddUnique(a.touchedSpriteShapes, shape);
  AddName(a, b);
  AddName(b, a);
  AddSprite(a, &b);
  AddSprite(b, &a);
}

void SetBody(Sprite& s, float dirX, float dirY, float normalX, float normalY) {
  s.body.SetDirectionX(dirX);
  s.body.SetDirectionY(dirY);
  s.body.SetNormalX(normalX);
  s.body.SetNormalY(normalY);
}

// The body for segment contacts: a corner contact (an end point of an obstacle poking into
// the area a body segment swept) makes the body that segment run backwards; otherwise the
// touched wall that stands most squarely against the move.
void ChooseBodyNormal(Sprite& s, const DynamicArray<CollisionShape*>& touchedObstacles) {
  bool corner = false;
  for (uint32_t i = 0; i < s.touchedBodyShapes.Size(); ++i) {
    CollisionShape* e = s.touchedBodyShapes[i];
    if (e->GetShapeType() != CollisionShape::SegmentShape) continue;
    auto* seg = static_cast<CollisionSegment*>(e);
    if (!seg->GetHit()) continue;
    corner = true;
    const CollisionSegment reversed = seg->Reversed();
    if (!s.body.IsSet() || Facing(reversed.GetNormalX(), reversed.GetNormalY(), s) <
                               Facing(s.body.GetNormalX(), s.body.GetNormalY(), s))
      s.body = reversed;
  }
  if (corner) {
    if (s.timeOfImpact == 0.0f) {
      // Already touching and moving exactly along the segment: send the sprite back.
      const float c = Facing(s.body.GetDirectionX(), s.body.GetDirectionY(), s);
      if (c == 1.0f) {
        s.body.SetNormalX(-s.body.GetDirectionX());
        s.body.SetNormalY(-s.body.GetDirectionY());
      } else if (c == -1.0f) {
        s.body.SetNormalX(s.body.GetDirectionX());
        s.body.SetNormalY(s.body.GetDirectionY());
      }
    }
    return;
  }
  for (uint32_t i = 0; i < touchedObstacles.Size(); ++i) {
    CollisionShape* o = touchedObstacles[i];
    if (o->GetShapeType() != CollisionShape::SegmentShape) continue;
    auto* seg = static_cast<CollisionSegment*>(o);
    if (!s.body.IsSet() || Facing(seg->GetNormalX(), seg->GetNormalY(), s) <
                               Facing(s.body.GetNormalX(), s.body.GetNormalY(), s))
      s.body = *seg;
  }
}

// The grid cells under a box, walked column by column; cells outside the grid (a sprite
// parked left of the world, a box past the picture's far edge) are not there to walk.
template <typename Visit>
void ForEachObstacle(const Map& map, float left, float top, float right, float bottom,
                     Visit visit) {
  const int32_t k = map.GetCompositionConstant();
  if (k <= 0) return;
  const int32_t c0 = static_cast<int32_t>(left) / k, c1 = static_cast<int32_t>(right) / k;
  const int32_t r0 = static_cast<int32_t>(top) / k, r1 = static_cast<int32_t>(bottom) / k;
  for (int32_t c = c0; c <= c1; ++c)
    for (int32_t r = r0; r <= r1; ++r) {
      NodeList* cell = map.GetGridCell(c, r);
      if (!cell) continue;
      for (Node* n = cell->GetHead(); !n->IsEnd(); n = n->GetNext())
        if (auto* o = AsCollisionShape(n)) visit(*o);
    }
}

}  // namespace

void Sprite::CheckMapCollision() {
  if (!map || !GetCurrentFrame()) return;
  const Rect swept = SweptBox(*this);
  float left = static_cast<float>(swept.left), top = static_cast<float>(swept.top);
  float right = static_cast<float>(swept.right), bottom = static_cast<float>(swept.bottom);
  if (left < 0.0f) left = 0.0f;
  if (top < 0.0f) top = 0.0f;
  if (bottom > static_cast<float>(map->GetHeight())) bottom = static_cast<float>(map->GetHeight());
  if (right > static_cast<float>(map->GetWidth())) right = static_cast<float>(map->GetWidth());
  // Only obstacles that reach into the swept box are worth the swept tests.
  auto segmentInBox = [&](const CollisionSegment& seg) {
    return SegmentHitsRect(seg.GetX1(), seg.GetY1(), seg.GetX2(), seg.GetY2(), left, right, top,
                           bottom);
  };
  auto circleInBox = [&](const CollisionCircle& circle) {
    return CircleNearSegment(circle.GetX(), circle.GetY(), circle.GetRadius(), left, right, top,
                             bottom);
  };

  if (rectangleCollision == 1) {
    ForEachObstacle(*map, left, top, right, bottom, [&](CollisionShape& o) {
      bool contact;
      if (o.GetShapeType() == CollisionShape::CircleShape) {
        auto& circle = static_cast<CollisionCircle&>(o);
        contact = circleInBox(circle);
      } else {
        auto& seg = static_cast<CollisionSegment&>(o);
        contact = segmentInBox(seg) && FacesMove(seg, *this);
      }
      if (!contact) return;
      touchedMap = 1;
      if (!(o.GetFlag() & 1)) timeOfImpact = 0.0f;
      body = CollisionSegment();
      AddUnique(touchedMapShapes, &o);
    });
    return;
  }

  const NodeList* shapes = FrameShapes(*this);
  if (!shapes || shapes->Count() == 0) return;
  ForEachObstacle(*map, left, top, right, bottom, [](CollisionShape& o) {
    o.SetTimeOfImpact(NoImpactTime);
    if (o.GetShapeType() == CollisionShape::SegmentShape)
      static_cast<CollisionSegment&>(o).SetHit(0);
  });
  bool segmentContact = false;
  for (Node* n = shapes->GetHead(); !n->IsEnd(); n = n->GetNext()) {
    auto* b = AsCollisionShape(n);
    if (!b) continue;
    bool touched = false;
    // Lowers the sprite's time of impact to the body's unless the obstacle only reports.
    auto lower = [&](const CollisionShape& o) {
      if (!(o.GetFlag() & 1)) timeOfImpact = b->GetTimeOfImpact();
    };
    if (b->GetShapeType() == CollisionShape::CircleShape) {
      auto& bc = static_cast<CollisionCircle&>(*b);
      bc.SetTimeOfImpact(NoImpactTime);
      ForEachObstacle(*map, left, top, right, bottom, [&](CollisionShape& o) {
        if (o.GetShapeType() == CollisionShape::SegmentShape) {
          auto& os = static_cast<CollisionSegment&>(o);
          if (!segmentInBox(os) || !FacesMove(os, *this) ||
              !bc.SweptCircleVsSegment(os, x, y, 0.0f, 0.0f, velocityX, velocityY, speedX))
            return;
          touchedMap = 1;
          touched = true;
          if (bc.GetTimeOfImpact() <= timeOfImpact) {
            lower(os);
            if (os.HasContact()) {
              SetBody(*this, os.GetContactX(), os.GetContactY(), -os.GetContactY(),
                      os.GetContactX());
              body.SetValue(os.GetValue());
            } else {
              SetBody(*this, os.GetDirectionX(), os.GetDirectionY(), os.GetNormalX(),
                      os.GetNormalY());
            }
          }
          AddUnique(touchedMapShapes, &os);
        } else {
          auto& oc = static_cast<CollisionCircle&>(o);
          if (!circleInBox(oc) ||
              !bc.SweptCircleVsCircle(oc, x, y, 0.0f, 0.0f, velocityX, velocityY, speedX))
            return;
          if (!oc.HasContact()) return;  // grazing while moving away: nothing at all
          touchedMap = 1;
          touched = true;
          if (bc.GetTimeOfImpact() <= timeOfImpact) {
            lower(oc);
            SetBody(*this, oc.GetContactY(), -oc.GetContactX(), oc.GetContactX(),
                    oc.GetContactY());
          }
          AddUnique(touchedMapShapes, &oc);
        }
      });
    } else {
      auto& bs = static_cast<CollisionSegment&>(*b);
      bs.SetTimeOfImpact(NoImpactTime);
      bs.SetHit(0);
      if (Facing(bs.GetNormalX(), bs.GetNormalY(), *this) < 0.0f) continue;
      ForEachObstacle(*map, left, top, right, bottom, [&](CollisionShape& o) {
        if (o.GetShapeType() == CollisionShape::SegmentShape) {
          auto& os = static_cast<CollisionSegment&>(o);
          if (!segmentInBox(os) || !FacesMove(os, *this) ||
              !bs.SweptSegmentVsSegment(os, x, y, 0.0f, 0.0f, velocityX, velocityY, speedX))
            return;
          touchedMap = 1;
          segmentContact = true;
          touched = true;
          if (bs.GetTimeOfImpact() <= timeOfImpact) lower(os);
          if (os.GetHit()) bs.SetHit(1);
          AddUnique(touchedMapShapes, &os);
        } else {
          auto& oc = static_cast<CollisionCircle&>(o);
          if (!circleInBox(oc) ||
              !bs.SweptSegmentVsCircle(oc, x, y, 0.0f, 0.0f, velocityX, velocityY, speedX))
            return;
          touchedMap = 1;
          touched = true;
          if (oc.HasContact() && bs.GetTimeOfImpact() <= timeOfImpact) {
            lower(oc);
            SetBody(*this, oc.GetContactX(), oc.GetContactY(), -oc.GetContactY(),
                    oc.GetContactX());
          }
          AddUnique(touchedMapShapes, &oc);
        }
      });
    }
    if (touched && touchedBodyShapes.Size() < static_cast<uint32_t>(kMaxTouchedShapes))
      touchedBodyShapes.Add(b);
  }
  if (touchedMap && segmentContact) ChooseBodyNormal(*this, touchedMapShapes);
}

Rect Sprite::GetSpriteReach() const {
  Rect reach = SweptBox(*this);
  reach.left -= 1;
  reach.top -= 1;
  reach.right += 1;
  reach.bottom += 1;
  return reach;
}

void Sprite::CheckSpriteCollision(Sprite* other) {
  if (GetCurrentFrame()) CheckSpriteCollision(other, GetSpriteReach());
}

void Sprite::CheckSpriteCollision(Sprite* other, const Rect& reach) {
  if (!other || other == this) return;
  const SpriteFrame* otherFrame = other->GetCurrentFrame();
  if (!otherFrame || !Overlap(reach, StandingBox(*other, *otherFrame))) return;
  Sprite& b = *other;

  if (rectangleCollision == 1) {
    if (!b.passable) {
      timeOfImpact = 0.0f;
      body = CollisionSegment();
    }
    RecordContact(*this, b, nullptr);
    return;
  }

  const NodeList* ownShapes = FrameShapes(*this);
  const NodeList* otherShapes = FrameShapes(b);
  if (!ownShapes || !otherShapes || ownShapes->Count() == 0 || otherShapes->Count() == 0)
    return;
  for (Node* n = otherShapes->GetHead(); !n->IsEnd(); n = n->GetNext()) {
    auto* o = AsCollisionShape(n);
    if (!o) continue;
    o->SetTimeOfImpact(NoImpactTime);
    if (o->GetShapeType() == CollisionShape::SegmentShape)
      static_cast<CollisionSegment*>(o)->SetHit(0);
  }

  const bool moving = directionX != 0.0f || directionY != 0.0f;
  // Whether this sprite, running into the other, gives it a new direction (a passable
  // other only through a segment against a segment).
  const bool pushes = !passable && moving && b.bounce;
  // The body shape's impact counts when it comes no later than the earliest so far, and
  // the surface met there becomes the body.
  auto takeImpact = [&](const CollisionShape& own, float dirX, float dirY, float normalX,
                        float normalY) {
    if (own.GetTimeOfImpact() <= timeOfImpact) {
      timeOfImpact = own.GetTimeOfImpact();
      SetBody(*this, dirX, dirY, normalX, normalY);
    }
  };
  auto push = [&](float newDirectionX, float newDirectionY) {
    if (!pushes) return;
    b.directionX = newDirectionX;
    b.directionY = newDirectionY;
  };
  bool segmentContact = false;
  for (Node* n = ownShapes->GetHead(); !n->IsEnd(); n = n->GetNext()) {
    auto* s = AsCollisionShape(n);
    if (!s) continue;
    bool touched = false;
    const bool circleBody = s->GetShapeType() == CollisionShape::CircleShape;
    s->SetTimeOfImpact(NoImpactTime);
    if (!circleBody) {
      auto* ss = static_cast<CollisionSegment*>(s);
      ss->SetHit(0);
      if (!(Facing(ss->GetNormalX(), ss->GetNormalY(), *this) >= 0.0f)) continue;
    }
    for (Node* m = otherShapes->GetHead(); !m->IsEnd(); m = m->GetNext()) {
      auto* o = AsCollisionShape(m);
      if (!o) continue;
      const bool circleObstacle = o->GetShapeType() == CollisionShape::CircleShape;
      if (circleBody && circleObstacle) {
        auto* sc = static_cast<CollisionCircle*>(s);
        auto* oc = static_cast<CollisionCircle*>(o);
        if (!sc->SweptCircleVsCircle(*oc, x, y, b.x, b.y, velocityX, velocityY, speedX))
          continue;
        if (oc->HasContact()) {
          const float cx = oc->GetContactX(), cy = oc->GetContactY();
          touched = true;
          if (!b.passable) {
            takeImpact(*sc, -cy, cx, -cx, -cy);
            push(-cx, -cy);
          }
        }
        RecordContact(*this, b, oc);
      } else if (circleBody) {
        auto* sc = static_cast<CollisionCircle*>(s);
        auto* os = static_cast<CollisionSegment*>(o);
        if (!FacesMove(*os, *this) ||
            !sc->SweptCircleVsSegment(*os, x, y, b.x, b.y, velocityX, velocityY, speedX))
          continue;
        touched = true;
        if (!b.passable) {
          if (!os->HasContact()) {
            if (sc->GetTimeOfImpact() <= timeOfImpact) {
              timeOfImpact = sc->GetTimeOfImpact();
              body = *os;
            }
            push(-os->GetNormalX(), -os->GetNormalY());
          } else {
            const float cx = os->GetContactX(), cy = os->GetContactY();
            takeImpact(*sc, cx, cy, -cy, cx);
            push(cy, -cx);
          }
        }
        RecordContact(*this, b, os);
      } else if (circleObstacle) {
        auto* ss = static_cast<CollisionSegment*>(s);
        auto* oc = static_cast<CollisionCircle*>(o);
        if (!ss->SweptSegmentVsCircle(*oc, x, y, b.x, b.y, velocityX, velocityY, speedX))
          continue;
        touched = true;
        if (oc->HasContact() && !b.passable) {
          const float cx = oc->GetContactX(), cy = oc->GetContactY();
          takeImpact(*ss, cx, cy, -cy, cx);
          push(cy, -cx);
        }
        RecordContact(*this, b, oc);
      } else {
        auto* ss = static_cast<CollisionSegment*>(s);
        auto* os = static_cast<CollisionSegment*>(o);
        if (!FacesMove(*os, *this) ||
            !ss->SweptSegmentVsSegment(*os, x, y, b.x, b.y, velocityX, velocityY, speedX))
          continue;
        segmentContact = true;
        touched = true;
        if (!b.passable && ss->GetTimeOfImpact() <= timeOfImpact)
          timeOfImpact = ss->GetTimeOfImpact();
        if (os->GetHit()) ss->SetHit(1);
        // A passable other is pushed all the same by a segment against a segment.
        push(-os->GetNormalX(), -os->GetNormalY());
        RecordContact(*this, b, os);
      }
    }
    if (touched && touchedBodyShapes.Size() < static_cast<uint32_t>(kMaxTouchedShapes))
      touchedBodyShapes.Add(s);
  }
  if (segmentContact && touchedNames.Size() != 0)
    ChooseBodyNormal(*this, touchedSpriteShapes);
}

void Sprite::ApplyTimeOfImpact() {
  if (timeOfImpact > 1.0f) return;
  velocityX = directionX * speedX * timeOfImpact;
  velocityY = directionY * speedY * timeOfImpact;
}

bool Sprite::IsTouchingMap() const { return touchedMap != 0; }

bool Sprite::HasTouched(const char* otherName) const {
  if (!otherName) return touchedNames.Size() != 0;
  for (uint32_t i = 0; i < touchedNames.Size(); ++i)
    if (std::strncmp(touchedNames[i].name, otherName, sizeof touchedNames[i].name) == 0)
      return true;
  return false;
}

}  // namespace quor
