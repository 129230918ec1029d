// One scene: sixteen depth-sorted sprite layers, maps in depth order, text boxes, sounds,
// streamed sounds and MIDI files, an embedded viewport and state machine, frame pacing,
// the game's three hooks, and the scene's input recording.
#pragma once

#include <cstdint>

#include "engine/core/class_record.h"
#include "engine/core/dynamic_array.h"
#include "engine/core/node.h"
#include "engine/core/node_list.h"
#include "engine/display/view_port.h"
#include "engine/scene/game_tables.h"
#include "engine/scene/state_machine.h"

namespace quor {

class GameNode;
class Sprite;
class Map;
class Variable;
class Sound;
class StreamedSound;

using GameNodeHook = void (*)(GameNode*);

class GameNode : public Node {
 public:
  static constexpr int kLayerCount = 16;

  GameNode();
  GameNode(const GameNode& other);
  GameNode& operator=(const GameNode&) = delete;
  ~GameNode() override;

  Node* Clone() const override;
  void Load(ObjectStream& stream) override;
  void Save(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return GameNodeClassRecord; }

  // Insertion takes ownership; at a limit the object is deleted and false returned.
  bool InsertSprite(Sprite* sprite);
  bool InsertMap(Map* map);
  bool InsertVariable(Variable* variable);
  bool InsertSound(Sound* sound);
  bool InsertStreamedSound(StreamedSound* sound);
  // Content's additions: a heap copy or a new object is inserted; true whatever that gave,
  // except for a missing sound file (shown, and the program asked to quit).
  bool AddSprite(const Sprite& sprite);
  bool AddMap(const Map& map);
  bool AddVariable(const Variable& variable);
  bool AddSound(const char* name, const char* file, uint8_t looping, int32_t restartPercent);
  bool AddStreamedSound(const char* name, const char* file, uint8_t looping);

  int32_t GetId() const { return id; }
  void SetId(int32_t value) { id = value; }
  const char* GetName() const { return name; }
  void SetName(const char* value);
  int32_t GetWidth() const { return width; }
  int32_t GetHeight() const { return height; }
  void SetWidth(int32_t w);
  void SetHeight(int32_t h);
  uint8_t GetShowScrollBox() const { return showScrollBox; }
  void SetShowScrollBox(uint8_t value) { showScrollBox = value; }
  uint8_t GetEscapeQuits() const { return escapeQuits; }
  void SetEscapeQuits(uint8_t value) { escapeQuits = value; }
  void SetPaletteName(const char* value);
  // The machine becomes a copy of the template at index (empty for none); the behaviour
  // becomes the table's function at index (none for a negative index).
  void SetStateMachine(int32_t index);
  void SetBehaviour(int32_t index);
  void RunBehaviour();

  // Makes the scene current: palette, animation sets, content, frame bitmaps, and the
  // check that every main character starts inside the scrolling box.
  void Activate();
  // A new hidden frame-rate box, id 1 of the text boxes.
  void CreateFPSVariable();
  // Every main character must start inside the scrolling box; one that does not is shown
  // and the program asked to quit.
  void CheckMainCharactersInScrollBox();
  // The text cursor's animation entry and its sprite "QuorTextsCursor".
  void CreateTextsCursor();
  void DrawTextsCursor();
  void UpdateVariables();
  void DrawVariables();
  // Puts the view back at the world's origin.
  void ResetViewOrigin();

  // Adds a key to those a recording keeps: bit i of a recorded key mask stands for the i-th
  // key added. A key added before, or one past the 32 a mask holds, is not added.
  void RegisterKey(uint32_t code);
  // Takes over the recording another scene holds (key masks, mouse flags and mouse moves),
  // leaving that scene's empty. A recording goes on across scene switches and its replay
  // starts from wherever it began, so it follows whichever scene is current.
  void TakeRecordingFrom(GameNode& other);

  // Frame pacing on the millisecond clock.
  void SetFPS(uint32_t rate);
  void BeginFrame();
  void EndFrame();
  bool WaitFrame();

  // --- fields, in the order they are documented ---
  int32_t id = 0;
  char name[32] = {};
  int32_t width = 640, height = 480;
  uint32_t frameEnd = 0, frameStart = 0;
  uint8_t showScrollBox = 0;
  uint8_t escapeQuits = 0;
  char paletteName[32] = {};
  int32_t stateMachineIndex = -1;
  int32_t behaviourIndex = -1;
  int32_t spriteIdCounter = 0;
  int32_t mapIdCounter = 0;
  int32_t variableIdCounter = 0;
  int32_t soundIdCounter = 0;
  int32_t streamedSoundIdCounter = 0;
  int32_t midiIdCounter = 0;
  int32_t spriteLimit = 513;
  int32_t mapLimit = 512;
  int32_t variableLimit = 512;
  int32_t soundLimit = 512;
  int32_t streamedSoundLimit = 5;
  int32_t midiLimit = 5;
  NodeList maps;                 // Map, ascending depth
  NodeList layers[kLayerCount];  // Sprite, ascending requested depth
  NodeList variables;            // Variable, newest first
  NodeList sounds;               // Sound, newest first
  NodeList streamedSounds;       // StreamedSound, newest first
  NodeList midiFiles;            // MidiFile
  ViewPort viewPort;
  StateMachine stateMachine;
  BehaviourFunction behaviour = nullptr;  // receives the scene
  GameNodeHook buildContent = nullptr;
  GameNodeHook buildAnimationSets = nullptr;
  GameNodeHook onLeave = nullptr;
  uint8_t onLeaveDone = 0;
  uint32_t measuredRate = 0;
  uint32_t targetRate = 60;
  uint32_t elapsed = 0;
  uint32_t frameBudget = 16;
  DynamicArray<uint32_t> registeredKeys;
  DynamicArray<uint32_t> recordedKeyMasks;
  DynamicArray<uint8_t> recordedMouseFlags;
  DynamicArray<MouseDelta> recordedMouseMovement;
};

}  // namespace quor
