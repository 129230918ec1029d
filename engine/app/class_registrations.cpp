// The engine's persistent classes, registered in one place so that the registry's
// search order is fixed.
#include "engine/core/class_record.h"

#include <cstring>

#include "engine/display/map.h"
#include "engine/display/transitions.h"
#include "engine/display/variable.h"
#include "engine/display/view_port.h"
#include "engine/scene/alarm.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/scene/state_machine.h"
#include "engine/sound_input/midi_file.h"
#include "engine/sound_input/sound.h"
#include "engine/sound_input/sound_base.h"
#include "engine/sound_input/streamed_sound.h"

namespace quor {

// Kept beside the records so that whoever uses the registry links them in.
std::vector<ClassRecord>& GetClassRegistry() {
  static std::vector<ClassRecord>* registry = new std::vector<ClassRecord>;
  return *registry;
}

Node* CreateObjectByName(const char* name) {
  for (const ClassRecord& record : GetClassRegistry())
    if (std::strncmp(record.name, name, sizeof record.name) == 0) return record.factory();
  return nullptr;
}

template <typename T>
Node* Make() {
  return new T;
}

const ClassRecord SpriteClassRecord("Sprite", Make<Sprite>);
const ClassRecord SoundClassRecord("Sound", Make<Sound>);
const ClassRecord MapClassRecord("Map", Make<Map>);
const ClassRecord VariableClassRecord("Variable", Make<Variable>);
const ClassRecord GameNodeClassRecord("GameNode", Make<GameNode>);
const ClassRecord StreamedSoundClassRecord("StreamedSound", Make<StreamedSound>);
const ClassRecord ViewPortClassRecord("ViewPort", Make<ViewPort>);
const ClassRecord CollisionSegmentClassRecord("CollisionSegment", Make<CollisionSegment>);
const ClassRecord CollisionCircleClassRecord("CollisionCircle", Make<CollisionCircle>);
const ClassRecord StateMachineClassRecord("StateMachine", Make<StateMachine>);
const ClassRecord PathStateMachineClassRecord("PathStateMachine", Make<PathStateMachine>);
const ClassRecord AlarmClassRecord("Alarm", Make<Alarm>);
const ClassRecord SoundBaseClassRecord("SoundBase", Make<SoundBase>);
const ClassRecord MidiFileClassRecord("MidiFile", Make<MidiFile>);
const ClassRecord GammaRampClassRecord("GammaRamp", Make<GammaRamp>);
const ClassRecord OpenCloseClassRecord("OpenClose", Make<OpenClose>);
const ClassRecord RandomDissolveClassRecord("RandomDissolve", Make<RandomDissolve>);

}  // namespace quor
