// Class registration: every persistent engine class has one record (its name and a
// factory) in the registry, so that saved objects can be made again by class name.
#pragma once

#include <vector>

namespace quor {

class Node;

struct ClassRecord {
  using Factory = Node* (*)();

  // Copies the name, keeps the factory and appends a copy of the record to the registry.
  ClassRecord(const char* name, Factory factory);
  // A record that is not registered (the "node" record).
  ClassRecord(const char* name, Factory factory, bool registered);

  char name[32] = {};
  Factory factory = nullptr;
};

// The registry in registration order, created on first use.
std::vector<ClassRecord>& GetClassRegistry();
// A new object of the first registered class named exactly name, or null.
Node* CreateObjectByName(const char* name);

// The records of the engine's seventeen persistent classes, registered in this order.
extern const ClassRecord SpriteClassRecord;
extern const ClassRecord SoundClassRecord;
extern const ClassRecord MapClassRecord;
extern const ClassRecord VariableClassRecord;
extern const ClassRecord GameNodeClassRecord;
extern const ClassRecord StreamedSoundClassRecord;
extern const ClassRecord ViewPortClassRecord;
extern const ClassRecord CollisionSegmentClassRecord;
extern const ClassRecord CollisionCircleClassRecord;
extern const ClassRecord StateMachineClassRecord;
extern const ClassRecord PathStateMachineClassRecord;
extern const ClassRecord AlarmClassRecord;
extern const ClassRecord SoundBaseClassRecord;
extern const ClassRecord MidiFileClassRecord;
extern const ClassRecord GammaRampClassRecord;
extern const ClassRecord OpenCloseClassRecord;
extern const ClassRecord RandomDissolveClassRecord;
// The unregistered record of Node and of classes that do not override GetClassRecord.
extern const ClassRecord NodeClassRecord;

}  // namespace quor
