// Animation records: every animated thing of the game is described once in the global
// AnimationTable, and sprites refer to it by three small indices (set, action, frame).
// The scene's animation-set builder fills the entries its sprites use when the scene
// starts; the engine fills entry 50 (the text cursor) itself; every entry is emptied
// again when the scene is left.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/node_list.h"
#include "engine/core/rect.h"

namespace platform {
class Surface;
}

namespace quor {

class Sound;
class CollisionSegment;
class CollisionCircle;

// The C-heap allocation behind the record arrays: null when memory is exhausted.
void* ArrayAlloc(size_t bytes);
// Gives a block from ArrayAlloc back; null is ignored.
void ArrayFree(void* block);
// Makes the next n calls of ArrayAlloc fail, as if memory were exhausted (for tests).
void FailNextArrayAllocs(uint32_t n);

struct AnimationPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// Flip states, the index of a frame's collision rectangles and shape lists.
enum FlipState : int { kFlipNone = 0, kFlipX = 1, kFlipY = 2, kFlipBoth = 3 };
// The flip state of a sprite's two flip bytes.
inline int FlipIndex(uint8_t flipX, uint8_t flipY) {
  return (flipX ? kFlipX : 0) | (flipY ? kFlipY : 0);
}

// One picture of an action. Builders write the fields directly.
class SpriteFrame {
 public:
  SpriteFrame();
  virtual ~SpriteFrame();
  SpriteFrame(const SpriteFrame&) = delete;
  SpriteFrame& operator=(const SpriteFrame&) = delete;

  // Record arrays come from ArrayAlloc; a null block makes the new-expression give null.
  static void* operator new[](size_t bytes) noexcept { return ArrayAlloc(bytes); }
  static void operator delete[](void* block) noexcept { ArrayFree(block); }

  // Puts a heap copy of the segment at the front of the unflipped shape list, unless the
  // segment is a point (both lengths 0). The caller keeps its own segment.
  void AddCollisionSegment(const CollisionSegment& segment);
  // Puts a heap copy of the circle at the front of the unflipped shape list, whatever its
  // radius.
  void AddCollisionCircle(const CollisionCircle& circle);

  // Empties the four shape lists, deleting the shapes.
  void ClearShapes();

  char bitmapName[32];        // bitmap resource or file the surface is loaded from
  int32_t width = 0;          // pixels; the bitmap is loaded at this size
  int32_t height = 0;
  uint32_t colorKey = 0x00FF00;  // COLORREF 0x00BBGGRR of the transparent colour
  float movementX = 0.0f;     // displacement factor when a sprite's movement follows frames
  float movementY = 0.0f;
  uint16_t duration = 0;      // frame timer start value: a frame reached by advancing stays d + 1 ticks
  platform::Surface* surface = nullptr;  // loaded by the display, not owned by the record
  uint8_t flipXAllowed = 0;   // 1: mirrored left-right while the sprite faces left
  uint8_t flipYAllowed = 0;   // 1: mirrored up-down while the sprite faces up
  int32_t reserved = 0;
  // Four groups of five points; [0][0] is the frame's centre. The engine reads none.
  AnimationPoint referencePoints[4][5];
  // Collision rectangles per flip state (FlipState order), right and bottom inclusive.
  Rect collisionRects[4];
  // Collision outlines per flip state, in frame pixels; the frame owns the shapes.
  NodeList shapeLists[4];
  int32_t anchorX = 0;
  int32_t anchorY = 0;
  uint8_t anchorOn = 0;       // 1: this frame takes part in anchor alignment
  uint8_t colorKeyOn = 0;     // 1: pixels of the colour key are not drawn
};

// One action (one animation loop) of a set.
class SpriteAction {
 public:
  SpriteAction() = default;
  virtual ~SpriteAction();
  SpriteAction(const SpriteAction&) = delete;
  SpriteAction& operator=(const SpriteAction&) = delete;

  static void* operator new[](size_t bytes) noexcept { return ArrayAlloc(bytes); }
  static void operator delete[](void* block) noexcept { ArrayFree(block); }

  // Replaces the frame array with n default frames. When the array cannot be had the
  // action is left with no frames and a count of 0, and false is returned.
  bool SetFrameCount(uint16_t n);
  // Frame i, or null when the action has no such frame.
  SpriteFrame* GetFrame(int32_t i) const {
    return frames && i >= 0 && i < frameCount ? &frames[i] : nullptr;
  }

  uint16_t frameCount = 0;
  SpriteFrame* frames = nullptr;  // owned record array
  int32_t loopStart = 0;          // frame to return to after the last one
  Sound* sound = nullptr;         // not owned
  uint8_t soundMode = 0;          // 1: plays again at every pass over the last frame
  uint8_t soundOn = 1;            // 0 silences the action
};

// One entry of the table: one animated thing.
class AnimationSet {
 public:
  AnimationSet() = default;
  ~AnimationSet();
  AnimationSet(const AnimationSet&) = delete;
  AnimationSet& operator=(const AnimationSet&) = delete;

  // Replaces the action array with n default actions; on failure no actions, count 0,
  // false.
  bool SetActionCount(uint16_t n);
  // Action i, or null when the set has no such action.
  SpriteAction* GetAction(int32_t i) const {
    return actions && i >= 0 && i < actionCount ? &actions[i] : nullptr;
  }
  // Deletes the action array (with every frame and shape); count 0.
  void Empty();

  uint16_t actionCount = 0;
  SpriteAction* actions = nullptr;  // owned record array
};

constexpr int kAnimationTableSize = 51;
// The engine's own entry: the text cursor.
constexpr int kTextsCursorAnimation = 50;

extern AnimationSet AnimationTable[kAnimationTableSize];

// The frame a sprite's three indices select, or null when the table holds no such frame.
// Sprites look theirs up several times a frame, so these are inline.
inline SpriteAction* FindAnimationAction(int32_t set, int32_t action) {
  return set >= 0 && set < kAnimationTableSize ? AnimationTable[set].GetAction(action) : nullptr;
}
inline SpriteFrame* FindAnimationFrame(int32_t set, int32_t action, int32_t frame) {
  SpriteAction* a = FindAnimationAction(set, action);
  return a ? a->GetFrame(frame) : nullptr;
}

// Forgets every frame's surface and deletes the shapes of every frame; the action
// arrays stay (a scene's destruction does this much).
void ClearAnimationTableShapes();
// Empties every entry: the shapes and surfaces as above, then every action array.
void EmptyAnimationTable();
// Fills entry 50 with the text cursor: one action of one 10 x 19 frame "TEXTSCURSOR"
// keyed on white.
void BuildTextsCursorAnimation();

}  // namespace quor
