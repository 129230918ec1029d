// A trigger zone: collision circles and segments in world coordinates that, when a sprite
// holding the Alarm touches one of them, run the Alarm's state machine and behaviour once
// for that frame and remember which sprite set it off.
#pragma once

#include <cstdint>

#include "engine/core/class_record.h"
#include "engine/scene/game_tables.h"
#include "engine/core/live_list.h"
#include "engine/core/node.h"
#include "engine/core/node_list.h"
#include "engine/scene/state_machine.h"

namespace quor {

class Sprite;
class CollisionShape;

class Alarm : public Node {
 public:
  Alarm();
  // Copies the machine (deep), id, name, enabled, behaviour, shapes (cloned, same order),
  // the triggering sprite and both indices.
  Alarm(const Alarm& other);
  Alarm& operator=(const Alarm& other);
  ~Alarm() override;

  Node* Clone() const override { return new Alarm(*this); }
  void Load(ObjectStream& stream) override;
  void Save(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return AlarmClassRecord; }

  bool IsEnabled() const { return enabled != 0; }
  void SetEnabled(uint8_t value) { enabled = value; }
  void SetId(uint32_t value) { id = value; }
  uint32_t GetId() const { return id; }
  void SetName(const char* value);
  const char* GetName() const { return name; }
  // A copy of the template machine for i >= 0, an empty machine otherwise.
  void SetStateMachine(int32_t index);
  void SetBehaviour(int32_t index);
  // Takes ownership of a shape, put at the end of the list.
  void AddShape(CollisionShape* shape);
  // The sprite that set the Alarm off in this frame, or null.
  Sprite* GetTriggeringSprite() const { return triggeringSprite; }

  // Runs the machine and the behaviour once with the Alarm as owner, the sprite having
  // set it off.
  void Trigger(Sprite* sprite);

  // Clears every live Alarm's triggering sprite that is `sprite` (a sprite being deleted).
  static void ForgetSprite(const Sprite* sprite);

  // --- fields, in their documented order ---
  uint32_t id = 0;
  char name[32] = {};
  uint8_t enabled = 1;
  StateMachine stateMachine;
  int32_t stateMachineIndex = -1;
  BehaviourFunction behaviour = nullptr;
  int32_t behaviourIndex = -1;
  NodeList shapes;  // CollisionCircle and CollisionSegment, world coordinates, owned
  Sprite* triggeringSprite = nullptr;

 private:
  LiveList<Alarm>::Link live_{this};
};

}  // namespace quor
