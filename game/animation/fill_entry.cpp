// The one routine that turns an entry's constant table into animation records.
#include <algorithm>
#include <cstring>

#include "engine/scene/animation.h"
#include "engine/scene/collision_shape.h"
#include "game/animation/animation_builders.h"
#include "game/animation/animation_data.h"

namespace game {

namespace {

void FillFrame(quor::SpriteFrame& frame, const FrameData& data) {
  frame.movementX = 0.0f;
  frame.movementY = 0.0f;
  frame.duration = data.duration;
  frame.width = data.width;
  frame.height = data.height;
  frame.colorKey = data.colorKey;
  const size_t length = std::min(std::strlen(data.bitmap), sizeof frame.bitmapName - 1);
  std::memcpy(frame.bitmapName, data.bitmap, length);
  frame.bitmapName[length] = '\0';
  frame.flipXAllowed = 0;
  frame.flipYAllowed = 0;
  frame.reserved = 0;

  const Departures& departs = data.departures;
  const Vertex centre = departs.hasCentre ? departs.centre
                                          : Vertex{static_cast<int16_t>(data.width / 2),
                                                   static_cast<int16_t>(data.height / 2)};
  frame.referencePoints[0][0] = quor::AnimationPoint{centre.x, centre.y};
  const FrameRect rect = departs.hasRect ? departs.rect
                                         : FrameRect{0, 0, static_cast<int16_t>(data.width - 1),
                                                     static_cast<int16_t>(data.height - 1)};
  quor::SetRect(&frame.collisionRects[quor::kFlipNone], rect.left, rect.top, rect.right,
                rect.bottom);
  frame.anchorX = centre.x;
  frame.anchorY = centre.y;
  frame.anchorOn = 0;
  frame.colorKeyOn = departs.opaque ? 0 : 1;

  for (uint16_t i = 0; i < data.shapes.count; ++i) {
    const Shape& s = data.shapes.shapes[i];
    if (s.kind == Shape::kSegment) {
      const quor::CollisionSegment segment(s.a, s.b, s.c, s.d, 0, 0);
      frame.AddCollisionSegment(segment);
    } else {
      const quor::CollisionCircle circle(s.a, s.b, s.c, 0, 0);
      frame.AddCollisionCircle(circle);
    }
  }
}

}  // namespace

void FillAnimationEntry(int index, const EntryData& data) {
  if (index < 0 || index >= quor::kAnimationTableSize || data.count == 0) return;
  quor::AnimationSet& entry = quor::AnimationTable[index];
  if (!entry.SetActionCount(data.count)) return;
  for (uint16_t k = 0; k < data.count; ++k) {
    const ActionData& actionData = data.actions[k];
    quor::SpriteAction& action = entry.actions[k];
    if (!action.SetFrameCount(actionData.count)) continue;
    action.loopStart = actionData.loopStart;
    for (uint16_t j = 0; j < actionData.count; ++j)
      FillFrame(action.frames[j], actionData.frames[j]);
  }
}

}  // namespace game
