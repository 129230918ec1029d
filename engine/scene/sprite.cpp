// The sprite's record: construction, copy, lookups, setters and persistence.
#include "engine/scene/sprite.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/display/map.h"
#include "engine/scene/alarm.h"
#include "engine/scene/animation.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/mouse.h"
#include "platform/host.h"

namespace quor {

const char kTextsCursorName[] = "QuorTextsCursor";
const char kTextsCursorCopyName[] = "QuorTextsCursor_COPY";

Sprite NullSprite;

namespace {

void FollowMouseBehaviour(Node* owner) { FollowMouse(static_cast<Sprite*>(owner)); }

// Objects that a saved game brings in only as references (the shapes touched in the saved
// frame, the Alarms, a map or sprite that no list holds) belong to no list of the scene;
// they are kept here while the loaded objects that refer to them live, so that no
// reference dangles and none is lost.
NodeList& LoadedOrphans() {
  static NodeList* orphans = new NodeList;
  return *orphans;
}

// Reads one reference; an object made by this read is handed to the orphans.
template <typename T>
T* ReadOrphanReference(ObjectStream& stream) {
  size_t before = stream.ObjectTable().size();
  T* object = nullptr;
  stream.ReadObjectAs(&object);
  if (!object) return nullptr;
  const auto& table = stream.ObjectTable();
  bool created = table.size() > before && table[before].second == object;
  if (created) AdoptLoadedOrphan(object);
  return object;
}

bool SameName(const char* a, const char* b) { return std::strncmp(a, b, 32) == 0; }

float ViewLeft() { return CurrentGameNode ? CurrentGameNode->viewPort.GetLeft() : 0.0f; }
float ViewTop() { return CurrentGameNode ? CurrentGameNode->viewPort.GetTop() : 0.0f; }

}  // namespace

// --- life ---

Sprite::Sprite() = default;

Sprite::Sprite(const Sprite& other) : Node(other) { *this = other; }

Sprite& Sprite::operator=(const Sprite& other) {
  if (this == &other) return *this;
  id = other.id;
  map = other.map;
  std::memcpy(name, other.name, sizeof name);
  x = other.x;
  y = other.y;
  screenX = other.screenX;
  screenY = other.screenY;
  reservedScaleX = other.reservedScaleX;
  reservedScaleY = other.reservedScaleY;
  transparency = other.transparency;
  depth = other.depth;
  touchedMap = other.touchedMap;
  bounce = other.bounce;
  animationSet = other.animationSet;
  requestedAction = other.requestedAction;
  action = other.action;
  frame = other.frame;
  frameTimer = other.frameTimer;
  visible = other.visible;
  mainCharacter = other.mainCharacter;
  dead = other.dead;
  accelerationOn = other.accelerationOn;
  acceleration = other.acceleration;
  friction = other.friction;
  velocityX = other.velocityX;
  velocityY = other.velocityY;
  speedX = other.speedX;
  speedY = other.speedY;
  directionX = other.directionX;
  directionY = other.directionY;
  frameMovementOn = other.frameMovementOn;
  reservedByte = other.reservedByte;
  frameMovementAlongY = other.frameMovementAlongY;
  frameMovementAlongX = other.frameMovementAlongX;
  variableCount = other.variableCount;
  alarmCount = other.alarmCount;
  reservedWord = other.reservedWord;
  flipX = 0;  // a copy faces as its own direction makes it
  flipY = 0;
  rectangleCollision = other.rectangleCollision;
  showCollisionShapes = other.showCollisionShapes;
  showCollisionRect = other.showCollisionRect;
  alignAnchors = other.alignAnchors;
  previousAnchoredFrame = other.previousAnchoredFrame;
  passable = other.passable;
  inactive = other.inactive;
  collideWithOwnLayer = other.collideWithOwnLayer;
  collideWithMap = other.collideWithMap;
  collideWithSprites = other.collideWithSprites;
  requestedDepth = other.requestedDepth;
  timeOfImpact = 1.5f;
  body = other.body.IsSet() ? other.body : CollisionSegment();
  fastAcceleration = other.fastAcceleration;
  showDirection = other.showDirection;
  touchedNames = other.touchedNames;
  touchedBodyShapes = other.touchedBodyShapes;
  touchedMapShapes = other.touchedMapShapes;
  touchedSpriteShapes = other.touchedSpriteShapes;
  frameMovementSignX = other.frameMovementSignX;
  frameMovementSignY = other.frameMovementSignY;
  firstStep = other.firstStep;
  reservedObject = other.reservedObject;
  reservedIndex = other.reservedIndex;
  delete[] path;
  path = nullptr;
  pathLength = 0;
  if (other.path && other.pathLength) {
    path = new (std::nothrow) PathStep[other.pathLength];
    if (path) {
      std::memcpy(path, other.path, sizeof(PathStep) * other.pathLength);
      pathLength = other.pathLength;
    }
  }
  pathDistance = other.pathDistance;
  pathStep = other.pathStep;
  pathLoop = other.pathLoop;
  stateMachine = other.stateMachine;
  stateMachineIndex = other.stateMachineIndex;
  pathStateMachineIndex = other.pathStateMachineIndex;
  behaviour = other.behaviour;
  behaviourIndex = other.behaviourIndex;
  alarms = other.alarms;
  variables = other.variables;
  pathStateMachine = other.pathStateMachine;
  layer = other.layer;
  touchedSprites = other.touchedSprites;
  return *this;
}

Sprite::~Sprite() {
  ClearPath();
  live_.Leave();
  LiveList<Sprite>::ForEach([this](Sprite* s) { s->ForgetSprite(this); });
  Alarm::ForgetSprite(this);
  if (MainCharacter == this) MainCharacter = nullptr;
}

void Sprite::ForgetSprite(const Sprite* gone) {
  uint32_t n = touchedSprites.Size();
  uint32_t kept = 0;
  for (uint32_t i = 0; i < n; ++i)
    if (touchedSprites[i] != gone) ++kept;
  if (kept == n) return;
  DynamicArray<Sprite*> survivors;
  for (uint32_t i = 0; i < n; ++i)
    if (touchedSprites[i] != gone) survivors.Add(touchedSprites[i]);
  touchedSprites = survivors;
}

Node* Sprite::Clone() const { return new Sprite(*this); }

Sprite* Sprite::Spawn() {
  Sprite* copy = new (std::nothrow) Sprite(*this);
  if (!copy) return nullptr;
  if (!CurrentGameNode) {
    delete copy;
    return nullptr;
  }
  if (!CurrentGameNode->InsertSprite(copy)) return nullptr;  // the scene deleted it
  copy->firstStep = 1;
  return copy;
}

// --- selection by index ---

void Sprite::SetStateMachine(int32_t index) {
  stateMachineIndex = index;
  stateMachine.CopyFromTable(index);
}

void Sprite::SetPathStateMachine(int32_t index) {
  pathStateMachineIndex = index;
  pathStateMachine.CopyFromPathTable(index);
}

void Sprite::SetBehaviour(int32_t index) {
  behaviourIndex = index;
  behaviour = SelectBehaviour(index);
}

void Sprite::RunBehaviour() {
  if (behaviour) behaviour(this);
}

void Sprite::SetMap(const char* mapName) {
  map = FindMapByName(mapName);
  if (map) return;
  std::string text = std::string("The map name \"") + (mapName ? mapName : "") +
                     "\" that the sprite \"" + name + "\" belong to, does not exist.";
  platform::CurrentHost().ShowMessageBox(text, "Error map name!", platform::MessageBoxIcon::Stop);
  QuitRequested = 1;
}

// --- setters and getters ---

void Sprite::SetName(const char* value) {
  std::memset(name, 0, sizeof name);
  if (value) std::strncpy(name, value, sizeof name - 1);
}

void Sprite::SetX(float value) {
  x = value;
  screenX = static_cast<int32_t>(x - ViewLeft());
}

void Sprite::SetY(float value) {
  y = value;
  screenY = static_cast<int32_t>(y - ViewTop());
}

void Sprite::SetDepth(int32_t d) {
  depth = d;
  requestedDepth = d;
}

SpriteAction* Sprite::GetCurrentAction() const { return FindAnimationAction(animationSet, action); }

SpriteFrame* Sprite::GetCurrentFrame() const {
  return FindAnimationFrame(animationSet, action, frame);
}

void Sprite::ReloadTimer() {
  if (SpriteFrame* f = GetCurrentFrame()) frameTimer = f->duration;
}

void Sprite::SetAnimation(int8_t set) {
  animationSet = set;
  ReloadTimer();
}

void Sprite::SetAction(int8_t a) {
  requestedAction = a;
  if (a == action) return;
  // The timer is loaded from the new action's frame at the current index when it has one;
  // otherwise it stays, and the animation step loads it when it starts the action at 0.
  if (SpriteFrame* f = FindAnimationFrame(animationSet, a, frame)) frameTimer = f->duration;
}

uint16_t Sprite::SetFrame(int8_t f) {
  SpriteAction* act = GetCurrentAction();
  if (!act || act->frameCount == 0) {
    frame = f;
    return frameTimer;
  }
  // A caller that computes the frame (a life bar) may ask for one the action lacks.
  if (f < 0) f = 0;
  if (f >= act->frameCount) f = static_cast<int8_t>(act->frameCount - 1);
  frame = f;
  frameTimer = act->frames[f].duration;
  return frameTimer;
}

bool Sprite::IsActionFinished(int32_t a) const {
  if (a != action) return false;
  SpriteAction* act = GetCurrentAction();
  if (!act || act->frameCount == 0) return false;
  return frame == act->frameCount - 1 && frameTimer == 0;
}

void Sprite::SetInactive(uint8_t b) {
  inactive = b;
  if (b == 0 && mainCharacter) MainCharacter = this;
}

void Sprite::SetFriction(float f) {
  if (f < 0.0f) f = 0.0f;
  if (f > 100.0f) f = 100.0f;
  friction = f * 0.01f;
}

void Sprite::SetAccelerationMode(uint8_t on, uint8_t fast) {
  accelerationOn = on;
  fastAcceleration = fast;
}

void Sprite::SetVariableCount(int32_t n) {
  if (n < 0) return;
  variableCount = n;
  uint32_t want = static_cast<uint32_t>(n);
  if (want == 0) variables.Clear();
  else if (variables.Size() > want) variables.SetCapacity(want);
  // Room for all at once: growing ten at a time would copy every box at each step.
  variables.Reserve(want);
  while (variables.Size() < want) variables.Add(Variable(0));
}

void Sprite::AddAlarm(Alarm* alarm) {
  if (!alarm) return;
  alarms.Add(alarm);
  alarmCount = static_cast<int32_t>(alarms.Size());
}

Rect Sprite::GetCollisionRect() const {
  SpriteFrame* f = GetCurrentFrame();
  return f ? f->collisionRects[FlipIndex(flipX, flipY)] : Rect{};
}

void Sprite::ResetContacts() {
  touchedNames.Clear();
  touchedBodyShapes.Clear();
  touchedMapShapes.Clear();
  touchedSpriteShapes.Clear();
  ClearMapContact();
  touchedSprites.Clear();
  timeOfImpact = 1.5f;
  if (body.IsSet()) body = CollisionSegment();
}

// --- lookups ---

void FollowMouse(Sprite* sprite) {
  if (!sprite || !CurrentMouse) return;
  sprite->SetX(static_cast<float>(CurrentMouse->GetWorldX()));
  sprite->SetY(static_cast<float>(CurrentMouse->GetWorldY()));
}

Sprite* FindSpriteByName(const char* name) {
  if (!CurrentGameNode || !name) return nullptr;
  for (NodeList& layer : CurrentGameNode->layers) {
    for (Node* n = layer.GetHead(); !n->IsEnd(); n = n->GetNext()) {
      Sprite* s = static_cast<Sprite*>(n);
      if (SameName(s->name, name)) return s;
    }
  }
  return nullptr;
}

void AdoptLoadedOrphan(Node* object) {
  if (object && object->GetNext() == nullptr) LoadedOrphans().AddHead(object);
}

void ReleaseLoadedOrphans() { LoadedOrphans().DeleteAll(); }

void GetSpriteHandle(SpriteHandle& handle, const char* name) {
  Sprite* found = FindSpriteByName(name);
  handle = SpriteHandle();
  handle.Set(found);
}

// --- persistence ---

namespace {

template <typename T>
void SaveReferences(ObjectStream& stream, const DynamicArray<T*>& list) {
  stream.WriteLong(list.Size());
  for (uint32_t i = 0; i < list.Size(); ++i) stream.WriteObject(list[i]);
}

// Reads a count of references that a frame fills to at most limit; more is a damaged file.
uint32_t ReadTouchedCount(ObjectStream& stream, uint32_t elementBytes, int32_t limit) {
  uint32_t count = stream.ReadCount(elementBytes);
  if (count > static_cast<uint32_t>(limit)) {
    stream.MarkFailed();
    return 0;
  }
  return count;
}

template <typename T>
void LoadOrphanReferences(ObjectStream& stream, DynamicArray<T*>& list, uint32_t count) {
  list.Clear();
  list.Reserve(count);
  for (uint32_t i = 0; i < count && stream.Good(); ++i)
    if (T* object = ReadOrphanReference<T>(stream)) list.Add(object);
}

}  // namespace

void Sprite::Save(ObjectStream& stream) {
  stream.WriteName(name);
  if (!SameName(name, kTextsCursorName)) {
    stream.WriteLong(stateMachineIndex);
    if (stateMachineIndex >= 0) stateMachine.Save(stream);
    stream.WriteLong(pathStateMachineIndex);
    if (pathStateMachineIndex >= 0) pathStateMachine.Save(stream);
    stream.WriteLong(behaviourIndex);
  }
  stream.WriteLong(id);
  stream.WriteByte(dead);
  stream.WriteObject(map);

  stream.WriteLong(x);
  stream.WriteLong(y);
  stream.WriteLong(screenX);
  stream.WriteLong(screenY);
  stream.WriteLong(reservedScaleX);
  stream.WriteLong(reservedScaleY);
  stream.WriteLong(transparency);
  stream.WriteLong(depth);

  stream.WriteByte(static_cast<uint8_t>(action));
  stream.WriteByte(static_cast<uint8_t>(frame));
  stream.WriteShort(frameTimer);
  stream.WriteByte(static_cast<uint8_t>(animationSet));
  stream.WriteByte(collideWithSprites);
  stream.WriteByte(touchedMap);
  stream.WriteByte(visible);
  stream.WriteByte(mainCharacter);
  stream.WriteByte(collideWithMap);
  stream.WriteByte(static_cast<uint8_t>(requestedAction));

  stream.WriteLong(layer);
  stream.WriteLong(velocityX);
  stream.WriteLong(velocityY);
  stream.WriteByte(bounce);
  stream.WriteByte(flipX);
  stream.WriteByte(flipY);
  stream.WriteByte(frameMovementOn);
  stream.WriteLong(frameMovementSignX);
  stream.WriteLong(frameMovementSignY);
  stream.WriteLong(directionX);
  stream.WriteLong(directionY);
  stream.WriteByte(frameMovementAlongX);
  stream.WriteByte(frameMovementAlongY);
  stream.WriteByte(reservedByte);
  stream.WriteLong(speedX);
  stream.WriteLong(speedY);
  stream.WriteLong(timeOfImpact);

  body.Save(stream);

  stream.WriteByte(collideWithOwnLayer);
  stream.WriteByte(passable);
  stream.WriteByte(accelerationOn);
  stream.WriteLong(acceleration);

  // The counts written are those of the arrays, so a reader always finds what it is told.
  stream.WriteLong(static_cast<int32_t>(variables.Size()));
  for (uint32_t i = 0; i < variables.Size(); ++i) variables[i].Save(stream);
  stream.WriteByte(inactive);
  stream.WriteLong(friction);

  stream.WriteLong(static_cast<int32_t>(alarms.Size()));
  for (uint32_t i = 0; i < alarms.Size(); ++i) stream.WriteObject(alarms[i]);
  stream.WriteLong(reservedWord);

  stream.WriteLong(touchedNames.Size());
  for (uint32_t i = 0; i < touchedNames.Size(); ++i) stream.WriteName(touchedNames[i].name);
  SaveReferences(stream, touchedBodyShapes);
  SaveReferences(stream, touchedMapShapes);
  SaveReferences(stream, touchedSpriteShapes);
  SaveReferences(stream, touchedSprites);

  stream.WriteByte(rectangleCollision);
  stream.WriteByte(showCollisionShapes);
  stream.WriteByte(showCollisionRect);
  stream.WriteByte(showDirection);
  stream.WriteLong(previousAnchoredFrame);
  stream.WriteByte(alignAnchors);
  stream.WriteByte(fastAcceleration);
  stream.WriteLong(requestedDepth);
  stream.WriteByte(firstStep);

  stream.WriteObject(reservedObject);
  stream.WriteLong(reservedIndex);
  uint32_t steps = path ? pathLength : 0;
  stream.WriteLong(steps);
  stream.WriteLong(pathDistance);
  stream.WriteLong(pathStep);
  stream.WriteByte(pathLoop);
  for (uint32_t i = 0; i < steps; ++i) {
    stream.WriteLong(path[i].unitX);
    stream.WriteLong(path[i].unitY);
    stream.WriteLong(path[i].length);
  }
}

void Sprite::Load(ObjectStream& stream) {
  stream.ReadName(name);
  if (!stream.Good()) return;
  if (SameName(name, kTextsCursorName)) {
    SetName(kTextsCursorCopyName);
    behaviour = FollowMouseBehaviour;
    stateMachineIndex = -1;
    pathStateMachineIndex = -1;
    behaviourIndex = -1;
  } else {
    int32_t index = -1;
    stream.ReadLong(&index);
    if (!stream.Good()) return;
    if (index >= 0) {
      // The machine's saved run state only fits the template it was copied from.
      if (!SelectStateMachine(index)) return stream.MarkFailed();
      SetStateMachine(index);
      stateMachine.Load(stream);
    } else {
      stateMachineIndex = index;
    }
    index = -1;
    stream.ReadLong(&index);
    if (!stream.Good()) return;
    if (index >= 0) {
      if (!SelectPathStateMachine(index)) return stream.MarkFailed();
      SetPathStateMachine(index);
      pathStateMachine.Load(stream);
    } else {
      pathStateMachineIndex = index;
    }
    index = -1;
    stream.ReadLong(&index);
    SetBehaviour(index);
  }
  stream.ReadLong(&id);
  stream.ReadByte(&dead);
  stream.ReadObjectAs(&map);

  // Real numbers reach whole-pixel conversions: none may be other than a finite value of
  // a sane size. The screen position is added to sizes before a move recomputes it.
  stream.ReadReal(&x, kLargestSavedCoordinate);
  stream.ReadReal(&y, kLargestSavedCoordinate);
  stream.ReadWhole(&screenX, -kLargestSavedWhole, kLargestSavedWhole);
  stream.ReadWhole(&screenY, -kLargestSavedWhole, kLargestSavedWhole);
  stream.ReadLong(&reservedScaleX);
  stream.ReadLong(&reservedScaleY);
  stream.ReadReal(&transparency, kLargestSavedRate);
  stream.ReadLong(&depth);

  stream.ReadByte(&action);
  stream.ReadByte(&frame);
  stream.ReadShort(&frameTimer);
  stream.ReadByte(&animationSet);
  stream.ReadByte(&collideWithSprites);
  stream.ReadByte(&touchedMap);
  stream.ReadByte(&visible);
  stream.ReadByte(&mainCharacter);
  stream.ReadByte(&collideWithMap);
  stream.ReadByte(&requestedAction);

  stream.ReadLong(&layer);
  stream.ReadReal(&velocityX, kLargestSavedRate);
  stream.ReadReal(&velocityY, kLargestSavedRate);
  stream.ReadByte(&bounce);
  stream.ReadByte(&flipX);
  stream.ReadByte(&flipY);
  stream.ReadByte(&frameMovementOn);
  stream.ReadReal(&frameMovementSignX, kLargestSavedUnit);
  stream.ReadReal(&frameMovementSignY, kLargestSavedUnit);
  stream.ReadReal(&directionX, kLargestSavedUnit);
  stream.ReadReal(&directionY, kLargestSavedUnit);
  stream.ReadByte(&frameMovementAlongX);
  stream.ReadByte(&frameMovementAlongY);
  stream.ReadByte(&reservedByte);
  stream.ReadReal(&speedX, kLargestSavedRate);
  stream.ReadReal(&speedY, kLargestSavedRate);
  stream.ReadReal(&timeOfImpact, kLargestSavedRate);

  body.Load(stream);

  stream.ReadByte(&collideWithOwnLayer);
  stream.ReadByte(&passable);
  stream.ReadByte(&accelerationOn);
  stream.ReadReal(&acceleration, kLargestSavedRate);

  // The boxes are made all at once, and no more than the rest of the file can describe.
  uint32_t count = stream.ReadCount(Variable::kSmallestSavedRecord);
  if (!stream.Good()) return;
  SetVariableCount(static_cast<int32_t>(count));
  for (uint32_t i = 0; i < count && stream.Good(); ++i) variables[i].Load(stream);
  stream.ReadByte(&inactive);
  stream.ReadReal(&friction, kLargestSavedRate);

  LoadOrphanReferences(stream, alarms, stream.ReadCount(4));
  alarmCount = static_cast<int32_t>(alarms.Size());
  stream.ReadLong(&reservedWord);

  touchedNames.Clear();
  count = ReadTouchedCount(stream, 32, kMaxTouchedNames);
  for (uint32_t i = 0; i < count && stream.Good(); ++i) {
    SpriteName entry;
    stream.ReadName(entry.name);
    touchedNames.Add(entry);
  }
  LoadOrphanReferences(stream, touchedBodyShapes, ReadTouchedCount(stream, 4, kMaxTouchedShapes));
  LoadOrphanReferences(stream, touchedMapShapes, ReadTouchedCount(stream, 4, kMaxTouchedShapes));
  LoadOrphanReferences(stream, touchedSpriteShapes,
                       ReadTouchedCount(stream, 4, kMaxTouchedShapes));
  touchedSprites.Clear();
  count = ReadTouchedCount(stream, 4, kMaxTouchedSprites);
  for (uint32_t i = 0; i < count && stream.Good(); ++i) {
    Sprite* other = nullptr;
    stream.ReadObjectAs(&other);
    if (other) touchedSprites.Add(other);
  }

  stream.ReadByte(&rectangleCollision);
  stream.ReadByte(&showCollisionShapes);
  stream.ReadByte(&showCollisionRect);
  stream.ReadByte(&showDirection);
  stream.ReadLong(&previousAnchoredFrame);
  stream.ReadByte(&alignAnchors);
  stream.ReadByte(&fastAcceleration);
  stream.ReadLong(&requestedDepth);
  stream.ReadByte(&firstStep);

  reservedObject = ReadOrphanReference<Node>(stream);
  stream.ReadLong(&reservedIndex);
  delete[] path;
  path = nullptr;
  pathLength = 0;
  // Nine bytes of the record follow the count before the steps of twelve bytes each.
  uint32_t steps = stream.ReadCount(12);
  stream.ReadLong(&pathDistance);
  stream.ReadLong(&pathStep);
  stream.ReadByte(&pathLoop);
  if (steps == 0 || !stream.Good()) return;
  path = new (std::nothrow) PathStep[steps];
  if (!path) return stream.MarkFailed();
  pathLength = steps;
  for (uint32_t i = 0; i < steps; ++i) {
    stream.ReadReal(&path[i].unitX, kLargestSavedUnit);
    stream.ReadReal(&path[i].unitY, kLargestSavedUnit);
    stream.ReadLong(&path[i].length);
  }
}

}  // namespace quor
