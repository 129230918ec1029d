#include "engine/scene/game_node.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/core/run_state.h"
#include "engine/display/display.h"
#include "engine/display/map.h"
#include "engine/display/variable.h"
#include "engine/scene/animation.h"
#include "engine/scene/scene_passes.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/midi_file.h"
#include "engine/sound_input/mouse.h"
#include "engine/sound_input/sound.h"
#include "engine/sound_input/sound_device.h"
#include "engine/sound_input/streamed_sound.h"
#include "platform/host.h"

namespace quor {

GameNode::GameNode() : viewPort(640.0f, 480.0f, 0.0f, 0.0f, 640.0f, 480.0f) {
  viewPort.SetScrollBox(0.0f, 0.0f, 640.0f, 480.0f);
  CreateFPSVariable();
}

GameNode::GameNode(const GameNode& other) : GameNode() {
  id = other.id;
  std::memcpy(name, other.name, sizeof name);
  std::memcpy(paletteName, other.paletteName, sizeof paletteName);
  width = other.width;
  height = other.height;
  spriteIdCounter = other.spriteIdCounter;
  mapIdCounter = other.mapIdCounter;
  variableIdCounter = other.variableIdCounter;
  soundIdCounter = other.soundIdCounter;
  streamedSoundIdCounter = other.streamedSoundIdCounter;
  midiIdCounter = other.midiIdCounter;
  spriteLimit = other.spriteLimit;
  mapLimit = other.mapLimit;
  variableLimit = other.variableLimit;
  soundLimit = other.soundLimit;
  streamedSoundLimit = other.streamedSoundLimit;
  midiLimit = other.midiLimit;
  targetRate = other.targetRate;
  frameBudget = other.frameBudget;
  maps = other.maps;
  for (int i = 0; i < kLayerCount; ++i) layers[i] = other.layers[i];
  variables = other.variables;
  sounds = other.sounds;
  streamedSounds = other.streamedSounds;
  midiFiles = other.midiFiles;
  viewPort = other.viewPort;
  showScrollBox = other.showScrollBox;
  escapeQuits = other.escapeQuits;
  stateMachine = other.stateMachine;
  behaviour = other.behaviour;
  buildContent = other.buildContent;
  buildAnimationSets = other.buildAnimationSets;
  onLeave = other.onLeave;
  onLeaveDone = other.onLeaveDone;
  stateMachineIndex = other.stateMachineIndex;
  behaviourIndex = other.behaviourIndex;
  registeredKeys = other.registeredKeys;
  recordedKeyMasks = other.recordedKeyMasks;
  recordedMouseFlags = other.recordedMouseFlags;
  recordedMouseMovement = other.recordedMouseMovement;
}

// The frames' bitmaps and outlines go with the scene; the action arrays stay for the table.
GameNode::~GameNode() {
  ReleaseAnimationSurfaces();
  ClearAnimationTableShapes();
}

Node* GameNode::Clone() const { return new GameNode(*this); }

void GameNode::Save(ObjectStream& stream) {
  stream.WriteLong(stateMachineIndex);
  if (stateMachineIndex >= 0) stateMachine.Save(stream);
  stream.WriteLong(behaviourIndex);
  SaveMouseState(stream);
  stream.WriteLong(targetRate);
  stream.WriteLong(frameBudget);
  stream.WriteObject(reinterpret_cast<Node*>(MainCharacter));
  stream.WriteName(paletteName);
  stream.WriteByte(showScrollBox);
  stream.WriteByte(escapeQuits);
  for (int32_t counter : {spriteIdCounter, mapIdCounter, variableIdCounter, soundIdCounter,
                          streamedSoundIdCounter, midiIdCounter})
    stream.WriteLong(counter);
  maps.Save(stream);
  for (NodeList& layer : layers) layer.Save(stream);
  variables.Save(stream);
  sounds.Save(stream);
  streamedSounds.Save(stream);
  midiFiles.Save(stream);
  viewPort.Save(stream);
  stream.WriteByte(onLeaveDone);
  GameDirector* director = CurrentGameDirector;
  stream.WriteByte(static_cast<uint8_t>(director ? director->nextSceneId : 0));
  stream.WriteByte(director ? director->switchPending : 0);
  SaveTransitions(stream);
  stream.WriteByte(Windowed);
}

namespace {

// Ids handed out in one stay in a scene: far more than any game makes.
constexpr int32_t kLargestSavedCounter = 1 << 30;

// Removes and deletes the first element of list whose name is `name`.
template <typename T>
void RemoveFirstNamed(NodeList& list, const char* name, ObjectStream& stream) {
  for (Node* n = list.GetHead(); !n->IsEnd(); n = n->GetNext()) {
    if (std::strcmp(static_cast<T*>(n)->GetName(), name) == 0) {
      stream.Forget(n);
      list.Remove(n);
      return;
    }
  }
}

}  // namespace

void GameNode::Load(ObjectStream& stream) {
  // The machine comes back as a fresh copy of its template with the saved run state read
  // into it; the behaviour follows from its index.
  int32_t machine = stateMachineIndex;
  stream.ReadLong(&machine);
  if (machine >= 0) {
    SetStateMachine(machine);
    stateMachine.Load(stream);
  }
  stateMachineIndex = machine;
  int32_t behaviourAt = behaviourIndex;
  stream.ReadLong(&behaviourAt);
  SetBehaviour(behaviourAt);
  LoadMouseState(stream);
  uint32_t rate = targetRate, budget = frameBudget;
  stream.ReadLong(&rate);
  stream.ReadLong(&budget);
  // A budget of 0 would make every later frame divide by zero.
  if (rate >= 1 && rate <= 1000 && budget >= 1) {
    targetRate = rate;
    frameBudget = budget;
  }
  Sprite* main = nullptr;
  stream.ReadObjectAs(&main);
  MainCharacter = main;
  stream.ReadName(paletteName);
  std::memcpy(PaletteName, paletteName, sizeof PaletteName);
  ApplyScenePalette();
  if (buildAnimationSets) buildAnimationSets(this);
  LoadAnimationSurfaces();
  stream.ReadByte(&showScrollBox);
  stream.ReadByte(&escapeQuits);
  // Counters only grow by one an insertion; a negative or near-overflowing one is damage.
  for (int32_t* counter : {&spriteIdCounter, &mapIdCounter, &variableIdCounter, &soundIdCounter,
                           &streamedSoundIdCounter, &midiIdCounter}) {
    stream.ReadLong(counter);
    if (*counter < 0 || *counter > kLargestSavedCounter) stream.MarkFailed();
  }
  // Each list takes its own class only: the frame treats every element as one.
  maps.LoadOnly(stream, IsA<Map>);
  for (NodeList& layer : layers) {
    layer.LoadOnly(stream, IsA<Sprite>);
    RemoveFirstNamed<Sprite>(layer, "QuorTextsCursor_COPY", stream);
  }
  variables.LoadOnly(stream, IsA<Variable>);
  RemoveFirstNamed<Variable>(variables, "FPS_COPY", stream);
  if (stream.Good()) AttachVariablesToMaps(UINT32_MAX);
  sounds.LoadOnly(stream, IsA<Sound>);
  if (stream.Good()) ReconnectEffectSounds();
  streamedSounds.LoadOnly(stream, IsA<StreamedSound>);
  midiFiles.LoadOnly(stream, IsA<MidiFile>);
  viewPort.Load(stream);
  stream.ReadByte(&onLeaveDone);
  GameDirector* director = CurrentGameDirector;
  int8_t nextId = director ? director->nextSceneId : 0;
  uint8_t pending = director ? director->switchPending : 0;
  stream.ReadByte(&nextId);
  stream.ReadByte(&pending);
  if (director) {
    director->nextSceneId = nextId;
    director->switchPending = pending;
  }
  LoadTransitions(stream);
  uint8_t windowed = Windowed;
  stream.ReadByte(&windowed);
  if (stream.Good() && windowed != Windowed) {
    ToggleFullScreen();
    platform::CurrentHost().Sleep(1000);
    ReplayWantedMidiFiles();
  }
}

void GameNode::SetName(const char* value) {
  std::memset(name, 0, sizeof name);
  std::strncpy(name, value, sizeof name - 1);
}

void GameNode::SetPaletteName(const char* value) {
  std::memset(paletteName, 0, sizeof paletteName);
  std::strncpy(paletteName, value, sizeof paletteName - 1);
}

void GameNode::SetWidth(int32_t w) {
  width = w;
  viewPort.SetWorldWidth(static_cast<float>(w));
}

void GameNode::SetHeight(int32_t h) {
  height = h;
  viewPort.SetWorldHeight(static_cast<float>(h));
}

void GameNode::SetStateMachine(int32_t index) {
  stateMachineIndex = index;
  stateMachine.CopyFromTable(index);
}

void GameNode::SetBehaviour(int32_t index) {
  behaviourIndex = index;
  behaviour = SelectBehaviour(index);
}

void GameNode::RunBehaviour() {
  if (behaviour) behaviour(this);
}

bool GameNode::InsertSprite(Sprite* sprite) {
  int32_t layer = sprite->GetLayer();
  if (layer < 0 || layer >= kLayerCount || layers[layer].Count() >= spriteLimit) {
    delete sprite;
    return false;
  }
  sprite->SetId(static_cast<uint32_t>(++spriteIdCounter));
  layers[layer].InsertBefore(sprite, FirstAtOrDeeper(layers[layer], sprite->GetDepth()));
  if (sprite->IsMainCharacter()) MainCharacter = sprite;
  return true;
}

bool GameNode::InsertMap(Map* map) {
  if (mapIdCounter >= mapLimit) {
    delete map;
    return false;
  }
  map->SetId(static_cast<uint32_t>(++mapIdCounter));
  map->BuildCollisionGrid();
  Node* before = maps.GetHead();
  while (!before->IsEnd() && static_cast<Map*>(before)->GetDepth() < map->GetDepth())
    before = before->GetNext();
  maps.InsertBefore(map, before);
  return true;
}

bool GameNode::AddSprite(const Sprite& sprite) {
  InsertSprite(new Sprite(sprite));
  return true;
}

bool GameNode::AddMap(const Map& map) {
  InsertMap(new Map(map));
  return true;
}

bool GameNode::InsertVariable(Variable* variable) {
  if (variableIdCounter >= variableLimit) {
    delete variable;
    return false;
  }
  variable->SetId(static_cast<uint32_t>(++variableIdCounter));
  variables.AddHead(variable);
  return true;
}

bool GameNode::InsertSound(Sound* sound) {
  if (soundIdCounter >= soundLimit) {
    delete sound;
    return false;
  }
  sound->SetId(static_cast<uint32_t>(++soundIdCounter));
  sounds.AddHead(sound);
  return true;
}

bool GameNode::InsertStreamedSound(StreamedSound* sound) {
  if (streamedSoundIdCounter >= streamedSoundLimit) {
    delete sound;
    return false;
  }
  sound->SetId(static_cast<uint32_t>(++streamedSoundIdCounter));
  streamedSounds.AddHead(sound);
  return true;
}

bool GameNode::AddVariable(const Variable& variable) {
  InsertVariable(new Variable(variable));
  return true;
}

bool GameNode::AddSound(const char* name, const char* file, uint8_t looping,
                        int32_t restartPercent) {
  std::string path;
  if (!FindSoundFile(file, false, path)) return false;
  InsertSound(new Sound(name, path.c_str(), looping, restartPercent));
  return true;
}

bool GameNode::AddStreamedSound(const char* name, const char* file, uint8_t looping) {
  std::string path;
  if (!FindSoundFile(file, true, path)) return false;
  InsertStreamedSound(new StreamedSound(name, path.c_str(), looping));
  return true;
}

void GameNode::Activate() {
  std::memcpy(PaletteName, paletteName, sizeof PaletteName);
  ApplyScenePalette();
  if (buildAnimationSets) buildAnimationSets(this);
  if (buildContent) buildContent(this);
  LoadAnimationSurfaces();
  CheckMainCharactersInScrollBox();
}

void GameNode::CheckMainCharactersInScrollBox() {
  ViewRect world = viewPort.GetScrollBoxInWorld();
  Rect box{static_cast<int32_t>(world.left), static_cast<int32_t>(world.top),
           static_cast<int32_t>(world.right), static_cast<int32_t>(world.bottom)};
  for (NodeList& layer : layers) {
    for (Node* n = layer.GetHead(); !n->IsEnd(); n = n->GetNext()) {
      Sprite* sprite = static_cast<Sprite*>(n);
      if (!sprite->IsMainCharacter()) continue;
      Rect r = sprite->GetCollisionRect();
      int32_t x = static_cast<int32_t>(sprite->GetX()), y = static_cast<int32_t>(sprite->GetY());
      Rect placed{r.left + x, r.top + y, r.right + x, r.bottom + y};
      Rect inside{std::max(placed.left, box.left), std::max(placed.top, box.top),
                  std::min(placed.right, box.right), std::min(placed.bottom, box.bottom)};
      if (!(inside == placed)) {
        platform::CurrentHost().ShowMessageBox(
            "The main character must be inside the viewport scrolling bounding box . ", "Error .",
            platform::MessageBoxIcon::Exclamation);
        QuitRequested = 1;
        return;
      }
    }
  }
}

void GameNode::CreateFPSVariable() {
  auto* box = new Variable;
  box->SetTextColor(0x0000F500);  // red 0, green 245, blue 0
  box->SetFontFace("Impact");
  box->SetName("FPS");
  box->SetText("FPS = ");
  box->SetVisible(0);
  box->SetFontWeight(0);
  box->SetFontWidth(6);
  box->SetFontSize(10);
  box->SetUpdateFunction(UpdateFpsText);
  int32_t half = static_cast<int32_t>(DisplayWidth / 2);
  box->SetRect(half - 50, 0, half + 50, 40);
  box->SetLetterSpacing(2);
  InsertVariable(box);
}

void GameNode::CreateTextsCursor() {
  BuildTextsCursorAnimation();
  Sprite cursor;
  cursor.SetName(kTextsCursorName);
  cursor.SetDepth(0);
  int32_t cx = static_cast<int32_t>(DisplayWidth / 2), cy = static_cast<int32_t>(DisplayHeight / 2);
  if (CurrentMouse) CurrentMouse->SetPosition(cx, cy);
  cursor.SetX(static_cast<float>(cx));
  cursor.SetY(static_cast<float>(cy));
  cursor.behaviour = [](Node* owner) { FollowMouse(static_cast<Sprite*>(owner)); };
  cursor.SetAnimation(kTextsCursorAnimation);
  AddSprite(cursor);
}

void GameNode::DrawTextsCursor() {
  if (!CurrentGameDirector || !CurrentGameDirector->IsTextsCursorShown()) return;
  Sprite* cursor = FindSpriteByName(kTextsCursorName);
  if (!cursor) return;
  FollowMouse(cursor);
  cursor->Draw();
}

void GameNode::UpdateVariables() {
  for (Node* n = variables.GetHead(); !n->IsEnd(); n = n->GetNext()) {
    Variable* box = static_cast<Variable*>(n);
    box->stateMachine.Update(box);
    box->RunUpdateFunction();
  }
}

void GameNode::DrawVariables() {
  for (Node* n = variables.GetHead(); !n->IsEnd(); n = n->GetNext()) static_cast<Variable*>(n)->Draw();
}
void GameNode::RegisterKey(uint32_t code) {
  if (registeredKeys.Size() >= 32) return;
  for (uint32_t i = 0; i < registeredKeys.Size(); ++i)
    if (registeredKeys[i] == code) return;
  registeredKeys.Add(code);
}

void GameNode::TakeRecordingFrom(GameNode& other) {
  if (&other == this) return;
  recordedKeyMasks = other.recordedKeyMasks;
  recordedMouseFlags = other.recordedMouseFlags;
  recordedMouseMovement = other.recordedMouseMovement;
  other.recordedKeyMasks.Clear();
  other.recordedMouseFlags.Clear();
  other.recordedMouseMovement.Clear();
}

void GameNode::ResetViewOrigin() {
  viewPort.SetLeft(0.0f);
  viewPort.SetTop(0.0f);
}

void GameNode::SetFPS(uint32_t rate) {
  // A rate outside 1..1000 has no whole-millisecond budget; the previous rate stays.
  if (rate < 1 || rate > 1000) return;
  targetRate = rate;
  frameBudget = 1000 / rate;
}

void GameNode::BeginFrame() { frameStart = platform::CurrentHost().Milliseconds(); }

void GameNode::EndFrame() {
  frameEnd = platform::CurrentHost().Milliseconds();
  elapsed = frameEnd - frameStart;
}

bool GameNode::WaitFrame() {
  if (elapsed >= frameBudget) {
    measuredRate = elapsed ? 1000 / elapsed : targetRate;
    return false;
  }
  uint32_t wait = frameBudget - elapsed;
  // Sleeping to the end of the budget, counted from the frame's start, keeps every frame
  // one budget long without keeping the processor busy while it waits.
  platform::CurrentHost().SleepUntil(frameEnd + wait);
  uint32_t rate = 1000 / (elapsed + wait);
  measuredRate = rate < targetRate ? rate : targetRate;
  return true;
}

}  // namespace quor
