#include "engine/scene/alarm.h"

#include <cstring>

#include "engine/core/object_stream.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/sprite.h"

namespace quor {

Alarm::Alarm() = default;

Alarm::Alarm(const Alarm& other) : Node(other) { *this = other; }

Alarm& Alarm::operator=(const Alarm& other) {
  if (this == &other) return *this;
  stateMachine = other.stateMachine;
  id = other.id;
  std::memcpy(name, other.name, sizeof name);
  enabled = other.enabled;
  behaviour = other.behaviour;
  shapes = other.shapes;
  triggeringSprite = other.triggeringSprite;
  stateMachineIndex = other.stateMachineIndex;
  behaviourIndex = other.behaviourIndex;
  return *this;
}

Alarm::~Alarm() = default;

void Alarm::ForgetSprite(const Sprite* sprite) {
  LiveList<Alarm>::ForEach([sprite](Alarm* a) {
    if (a->triggeringSprite == sprite) a->triggeringSprite = nullptr;
  });
}

void Alarm::SetName(const char* value) {
  std::memset(name, 0, sizeof name);
  if (value) std::strncpy(name, value, sizeof name - 1);
}

void Alarm::SetStateMachine(int32_t index) {
  stateMachineIndex = index;
  stateMachine.CopyFromTable(index);
}

void Alarm::SetBehaviour(int32_t index) {
  behaviourIndex = index;
  behaviour = SelectBehaviour(index);
}

void Alarm::AddShape(CollisionShape* shape) {
  if (shape) shapes.InsertBefore(shape, shapes.GetSentinel());
}

void Alarm::Trigger(Sprite* sprite) {
  triggeringSprite = sprite;
  stateMachine.Update(this);
  if (behaviour) behaviour(this);
}

void Alarm::Save(ObjectStream& stream) {
  stream.WriteLong(id);
  stream.WriteName(name);
  stream.WriteByte(enabled);
  stream.WriteLong(stateMachineIndex);
  if (stateMachineIndex >= 0) stateMachine.Save(stream);
  shapes.Save(stream);
  stream.WriteLong(behaviourIndex);
  stream.WriteObject(triggeringSprite);
}

void Alarm::Load(ObjectStream& stream) {
  stream.ReadLong(&id);
  stream.ReadName(name);
  stream.ReadByte(&enabled);
  int32_t index = -1;
  stream.ReadLong(&index);
  if (!stream.Good()) return;
  if (index >= 0) {
    // The saved run state only fits the template it was copied from.
    if (!SelectStateMachine(index)) return stream.MarkFailed();
    SetStateMachine(index);
    stateMachine.Load(stream);
  } else {
    stateMachineIndex = index;
  }
  // Only shapes can set an Alarm off.
  shapes.LoadOnly(stream, IsA<CollisionShape>);
  index = -1;
  stream.ReadLong(&index);
  SetBehaviour(index);
  stream.ReadObjectAs(&triggeringSprite);
}

// --- the sprite's side ---

void Sprite::CheckAlarms() {
  Rect r = GetCollisionRect();
  const float left = static_cast<float>(static_cast<int32_t>(r.left + x));
  const float top = static_cast<float>(static_cast<int32_t>(r.top + y));
  const float right = static_cast<float>(static_cast<int32_t>(r.right + x));
  const float bottom = static_cast<float>(static_cast<int32_t>(r.bottom + y));

  for (uint32_t i = 0; i < alarms.Size(); ++i) {
    Alarm* alarm = alarms[i];
    if (!alarm) continue;
    alarm->triggeringSprite = nullptr;
    if (!alarm->IsEnabled() || alarm->shapes.Count() == 0) continue;
    for (Node* n = alarm->shapes.GetHead(); !n->IsEnd(); n = n->GetNext()) {
      CollisionShape* shape = AsCollisionShape(n);
      if (!shape) continue;
      bool hit = false;
      if (shape->GetShapeType() == CollisionShape::CircleShape) {
        auto* circle = static_cast<CollisionCircle*>(shape);
        hit = CircleNearSegment(circle->GetX(), circle->GetY(), circle->GetRadius(), left, right,
                                top, bottom);
      } else {
        auto* segment = static_cast<CollisionSegment*>(shape);
        // A segment only catches a sprite that does not move along its normal.
        hit = SegmentHitsRect(segment->GetX1(), segment->GetY1(),
                              segment->GetX1() + segment->GetDirectionX() * segment->GetLengthX(),
                              segment->GetY1() + segment->GetDirectionY() * segment->GetLengthY(),
                              left, right, top, bottom) &&
              segment->GetNormalX() * -directionX + segment->GetNormalY() * -directionY >= 0.0f;
      }
      if (hit) {
        alarm->Trigger(this);
        return;
      }
    }
  }
}

}  // namespace quor
