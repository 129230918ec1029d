// The engine's animated, movable game object: the hero, monsters, items, doors, shots and
// decorations. A sprite lives in one layer list of its scene, belongs to one map, shows a
// frame of an AnimationTable entry, moves by a speed along a unit direction, collides with
// its map and with other sprites, and is driven each frame by a behaviour function and a
// state machine chosen by index from the game's tables.
#pragma once

#include <cstdint>

#include "engine/core/class_record.h"
#include "engine/core/dynamic_array.h"
#include "engine/scene/game_tables.h"
#include "engine/core/live_list.h"
#include "engine/core/node.h"
#include "engine/core/rect.h"
#include "engine/display/variable.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/state_machine.h"

namespace quor {

class Map;
class Alarm;
class SpriteFrame;
class SpriteAction;

// One straight step of a path: a unit direction and a length in whole pixels.
struct PathStep {
  float unitX = 0.0f;
  float unitY = 0.0f;
  uint32_t length = 0;
};

class Sprite : public Node {
 public:
  static constexpr int32_t kMaxTouchedNames = 5;
  static constexpr int32_t kMaxTouchedSprites = 5;
  static constexpr int32_t kMaxTouchedShapes = 10;

  Sprite();
  Sprite(const Sprite& other);
  // Copies every field but the flips (cleared) and the time of impact (1.5); machines,
  // text boxes and path steps are deep copies, the reference lists copy their references.
  Sprite& operator=(const Sprite& other);
  // Leaves no pointer to the sprite behind: MainCharacter, other sprites' touched lists
  // and alarms it set off forget it.
  ~Sprite() override;

  Node* Clone() const override;
  void Load(ObjectStream& stream) override;
  void Save(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return SpriteClassRecord; }

  // A copy inserted into the current scene with its first-step flag set; null when the
  // scene refused it (the copy is then deleted).
  Sprite* Spawn();

  // --- selection by index ---
  void SetStateMachine(int32_t index);
  void SetPathStateMachine(int32_t index);
  void SetBehaviour(int32_t index);
  void RunBehaviour();

  // Looks the map up in the current scene; an unknown name is reported and quits.
  void SetMap(const char* mapName);
  Map* GetMap() const { return map; }

  // --- setters and getters ---
  void SetName(const char* value);
  const char* GetName() const { return name; }
  void SetId(uint32_t value) { id = value; }
  uint32_t GetId() const { return id; }
  float GetX() const { return x; }
  float GetY() const { return y; }
  // Set the position and the screen position against the current scene's view.
  void SetX(float value);
  void SetY(float value);
  int32_t GetScreenX() const { return screenX; }
  int32_t GetScreenY() const { return screenY; }
  float GetVelocityX() const { return velocityX; }
  float GetVelocityY() const { return velocityY; }
  float GetSpeedX() const { return speedX; }
  float GetSpeedY() const { return speedY; }
  void SetSpeedX(float s) { speedX = s; }
  void SetSpeedY(float s) { speedY = s; }
  float GetDirectionX() const { return directionX; }
  float GetDirectionY() const { return directionY; }
  float GetTransparency() const { return transparency; }
  // Sets the depth and the requested depth; GetDepth returns the requested depth, the
  // one the layer is sorted by.
  void SetDepth(int32_t d);
  int32_t GetDepth() const { return requestedDepth; }
  void SetAnimation(int8_t set);
  int8_t GetAnimation() const { return animationSet; }
  // Requests an action; the switch happens at the next animation step.
  void SetAction(int8_t a);
  int8_t GetAction() const { return action < 0 ? 0 : action; }
  // Makes frame f of the current action current and reloads the timer, whose new value
  // is returned. An index outside the action is clamped to it.
  uint16_t SetFrame(int8_t f);
  int8_t GetFrame() const { return frame; }
  uint16_t GetFrameTimer() const { return frameTimer; }
  bool IsActionFinished(int32_t a) const;
  void SetVisible(uint8_t b) { visible = b; }
  uint8_t IsVisible() const { return visible; }
  void SetDead(uint8_t b) { dead = b; }
  bool IsDead() const { return dead != 0; }
  void SetMainCharacter(uint8_t b) { mainCharacter = b; }
  bool IsMainCharacter() const { return mainCharacter != 0; }
  // Setting 0 on a main-character sprite also makes it the MainCharacter.
  void SetInactive(uint8_t b);
  bool IsInactive() const { return inactive != 0; }
  void SetBounce(uint8_t b) { bounce = b; }
  void SetPassable(uint8_t b) { passable = b; }
  bool IsPassable() const { return passable != 0; }
  void SetCollideWithMap(uint8_t b) { collideWithMap = b; }
  void SetCollideWithSprites(uint8_t b) { collideWithSprites = b; }
  void SetCollideWithOwnLayer(uint8_t b) { collideWithOwnLayer = b; }
  bool CollidesWithMap() const { return collideWithMap != 0; }
  bool CollidesWithSprites() const { return collideWithSprites != 0; }
  bool CollidesWithOwnLayer() const { return collideWithOwnLayer != 0; }
  void SetRectangleCollision(uint8_t b) { rectangleCollision = b; }
  void ClearMapContact() { touchedMap = 0; }
  bool IsTouchingMap() const;
  // Null: whether anything was touched in this frame; otherwise whether that exact name
  // was.
  bool HasTouched(const char* otherName) const;
  void SetLayer(int32_t l) { layer = l; }
  int32_t GetLayer() const { return layer; }
  // Clamped to 0..100 and stored as a fraction.
  void SetFriction(float f);
  void SetAccelerationMode(uint8_t on, uint8_t fast);
  void SetAlignAnchors(uint8_t b) { alignAnchors = b; }
  void SetShowCollisionShapes(uint8_t b) { showCollisionShapes = b; }
  void SetShowCollisionRect(uint8_t b) { showCollisionRect = b; }
  void SetShowDirection(uint8_t b) { showDirection = b; }
  bool IsShowingDirection() const { return showDirection != 0; }
  bool IsFlippedX() const { return flipX != 0; }
  bool IsFlippedY() const { return flipY != 0; }
  // Makes the sprite hold exactly n text boxes (new ones are number boxes of value 0);
  // a negative n changes nothing.
  void SetVariableCount(int32_t n);
  // Adds an alarm the sprite can set off (not owned).
  void AddAlarm(Alarm* alarm);

  // The frame the sprite's indices select, or null when the table holds none.
  SpriteFrame* GetCurrentFrame() const;
  SpriteAction* GetCurrentAction() const;
  // The current frame's collision rectangle for the flips, in frame pixels (all 0 when
  // there is no frame).
  Rect GetCollisionRect() const;
  // Empties the five per-frame contact lists and the map contact, sets the time of
  // impact to 1.5 and clears the body segment: the frame step's reset before the tests.
  void ResetContacts();

  // --- movement and animation ---
  void Animate();
  void SetDirection(float dx, float dy, uint32_t steps);
  void UpdateVelocity();
  void ApplyFriction();
  void Accelerate();
  void UpdateFrameMovementDirection();
  void SetPathLength(uint32_t n);
  // Step i counted from 1, by whole-pixel offsets.
  void SetPathStep(uint32_t i, int32_t dx, int32_t dy);
  void StartPath(uint8_t loopMode);
  void ClearPath();
  void FollowPath();
  void Move();
  void Reflect(float nx, float ny);
  void UpdateFlipFromDirection();
  void AlignToAnchor();

  // --- drawing ---
  void Draw();
  bool IsOnScreen() const;
  void DrawCollisionShapes(uint32_t color);
  void DrawCollisionRect(uint32_t color);
  void DrawDirection(uint32_t color);

  // --- trigger zones and collision ---
  void CheckAlarms();
  void CheckMapCollision();
  void CheckSpriteCollision(Sprite* other);
  // The same, given GetSpriteReach() of this sprite, which stays the same against every
  // other sprite of the frame and so is worked out once for all of them.
  void CheckSpriteCollision(Sprite* other, const Rect& reach);
  // The area the collision rectangle sweeps this frame, one pixel wider on each side: only
  // a sprite standing within it is tested further. Asked of a sprite with a current frame.
  Rect GetSpriteReach() const;
  void ApplyTimeOfImpact();

  // --- fields, in their documented order ---
  uint32_t id = 0;
  Map* map = nullptr;
  char name[32] = {};
  float x = 0.0f, y = 0.0f;
  int32_t screenX = 0, screenY = 0;
  float reservedScaleX = 1.0f, reservedScaleY = 1.0f;
  float transparency = 0.0f;
  int32_t depth = 0;
  uint8_t touchedMap = 0;
  uint8_t bounce = 0;
  int8_t animationSet = 0;
  int8_t requestedAction = 0;
  int8_t action = 0;
  int8_t frame = 0;
  uint16_t frameTimer = 0;
  uint8_t visible = 1;
  uint8_t mainCharacter = 0;
  uint8_t dead = 0;
  uint8_t accelerationOn = 0;
  float acceleration = 0.0f;
  float friction = 0.0f;
  float velocityX = 0.0f, velocityY = 0.0f;
  float speedX = 0.0f, speedY = 0.0f;
  float directionX = 0.0f, directionY = 0.0f;
  uint8_t frameMovementOn = 0;
  uint8_t reservedByte = 0;
  uint8_t frameMovementAlongY = 1;
  uint8_t frameMovementAlongX = 1;
  int32_t variableCount = 0;
  int32_t alarmCount = 0;
  int32_t reservedWord = 512;
  uint8_t flipX = 0, flipY = 0;
  uint8_t rectangleCollision = 1;
  uint8_t showCollisionShapes = 0, showCollisionRect = 0;
  uint8_t alignAnchors = 0;
  int32_t previousAnchoredFrame = -1;
  uint8_t passable = 0;
  uint8_t inactive = 0;
  uint8_t collideWithOwnLayer = 0;
  uint8_t collideWithMap = 0;
  uint8_t collideWithSprites = 0;
  int32_t requestedDepth = 0;
  float timeOfImpact = 1.5f;
  CollisionSegment body;
  uint8_t fastAcceleration = 0;
  uint8_t showDirection = 0;
  DynamicArray<SpriteName> touchedNames;
  DynamicArray<CollisionShape*> touchedBodyShapes;
  DynamicArray<CollisionShape*> touchedMapShapes;
  DynamicArray<CollisionShape*> touchedSpriteShapes;
  float frameMovementSignX = 1.0f, frameMovementSignY = 1.0f;
  uint8_t firstStep = 1;
  Node* reservedObject = nullptr;
  int32_t reservedIndex = -1;
  uint32_t pathLength = 0;     // step count
  uint32_t pathDistance = 0;   // whole pixels covered in the current step
  int32_t pathStep = -1;       // current step, -1 = not following
  uint8_t pathLoop = 0;        // 0 stop at the end, 1 start again
  PathStep* path = nullptr;    // owned, pathLength steps
  StateMachine stateMachine;
  int32_t stateMachineIndex = -1;
  int32_t pathStateMachineIndex = -1;
  BehaviourFunction behaviour = nullptr;
  int32_t behaviourIndex = -1;
  DynamicArray<Alarm*> alarms;
  DynamicArray<Variable> variables;
  PathStateMachine pathStateMachine;
  int32_t layer = 0;
  DynamicArray<Sprite*> touchedSprites;

 private:
  // Every live sprite, so that a dying one can be scrubbed from the others' lists.
  LiveList<Sprite>::Link live_{this};
  void ForgetSprite(const Sprite* gone);
  void ReloadTimer();
};

// The empty sprite that handles fall back on.
extern Sprite NullSprite;
// The first sprite of the current scene, layers 0 to 15 from their heads, whose name
// equals name exactly; null if none.
Sprite* FindSpriteByName(const char* name);

// A reference to a sprite that is never null: NullSprite stands in for a missing one.
class SpriteHandle {
 public:
  SpriteHandle() : sprite_(&NullSprite) {}
  // Stores the sprite unless it is null.
  void Set(Sprite* sprite) {
    if (sprite) sprite_ = sprite;
  }
  Sprite* Get() const { return sprite_; }
  Sprite* operator->() const { return sprite_; }
  Sprite& operator*() const { return *sprite_; }

 private:
  Sprite* sprite_;
};

// The text cursor's behaviour: the sprite stands where the mouse points in the world.
void FollowMouse(Sprite* sprite);

// Keeps an object that a load made and that no list holds (an alarm or shape only sprites
// refer to, a map or sprite only a reference names) until ReleaseLoadedOrphans.
void AdoptLoadedOrphan(Node* object);
// Deletes what AdoptLoadedOrphan kept; the scene that held the loaded objects calls it once
// they are gone, so that loads do not pile orphans up.
void ReleaseLoadedOrphans();

// The handle holds the sprite found by name, or NullSprite.
void GetSpriteHandle(SpriteHandle& handle, const char* name);

// The name the text cursor's sprite carries, and the one it comes back with from a save.
extern const char kTextsCursorName[];
extern const char kTextsCursorCopyName[];

}  // namespace quor
