#include "engine/scene/animation.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "engine/scene/collision_shape.h"

namespace quor {

AnimationSet AnimationTable[kAnimationTableSize];

namespace {
uint32_t failingAllocs = 0;
}  // namespace

void* ArrayAlloc(size_t bytes) {
  if (failingAllocs > 0) {
    --failingAllocs;
    return nullptr;
  }
  return std::malloc(bytes);
}

void ArrayFree(void* block) { std::free(block); }

void FailNextArrayAllocs(uint32_t n) { failingAllocs = n; }

// --- SpriteFrame ---

SpriteFrame::SpriteFrame() {
  std::memset(bitmapName, 0, sizeof bitmapName);
  for (Rect& r : collisionRects) SetRect(&r, 0, 0, 31, 31);
}

SpriteFrame::~SpriteFrame() {}

void SpriteFrame::AddCollisionSegment(const CollisionSegment& segment) {
  if (segment.GetLengthX() == 0.0f && segment.GetLengthY() == 0.0f) return;
  CollisionSegment* copy = new (std::nothrow) CollisionSegment(segment);
  if (copy) shapeLists[kFlipNone].AddHead(copy);
}

void SpriteFrame::AddCollisionCircle(const CollisionCircle& circle) {
  CollisionCircle* copy = new (std::nothrow) CollisionCircle(circle);
  if (copy) shapeLists[kFlipNone].AddHead(copy);
}

void SpriteFrame::ClearShapes() {
  for (NodeList& list : shapeLists) list.DeleteAll();
}

// --- SpriteAction ---

SpriteAction::~SpriteAction() {
  delete[] frames;
  frames = nullptr;
}

bool SpriteAction::SetFrameCount(uint16_t n) {
  delete[] frames;
  frames = nullptr;
  frameCount = 0;
  if (n == 0) return true;
  frames = new SpriteFrame[n];
  if (!frames) return false;
  frameCount = n;
  return true;
}

// --- AnimationSet ---

AnimationSet::~AnimationSet() { Empty(); }

void AnimationSet::Empty() {
  delete[] actions;
  actions = nullptr;
  actionCount = 0;
}

bool AnimationSet::SetActionCount(uint16_t n) {
  Empty();
  if (n == 0) return true;
  actions = new SpriteAction[n];
  if (!actions) return false;
  actionCount = n;
  return true;
}

// --- the table ---

void ClearAnimationTableShapes() {
  // A builder whose array could not be had leaves its count with a null array: only the
  // arrays that exist are walked.
  for (AnimationSet& set : AnimationTable) {
    if (!set.actions) continue;
    for (int32_t a = 0; a < set.actionCount; ++a) {
      SpriteAction& action = set.actions[a];
      if (!action.frames) continue;
      for (int32_t f = 0; f < action.frameCount; ++f) {
        action.frames[f].surface = nullptr;
        action.frames[f].ClearShapes();
      }
    }
  }
}

void EmptyAnimationTable() {
  ClearAnimationTableShapes();
  for (AnimationSet& set : AnimationTable) set.Empty();
}

void BuildTextsCursorAnimation() {
  AnimationSet& set = AnimationTable[kTextsCursorAnimation];
  if (!set.SetActionCount(1)) return;
  SpriteAction& action = set.actions[0];
  if (!action.SetFrameCount(1)) return;
  action.loopStart = 0;
  SpriteFrame& frame = action.frames[0];
  std::strcpy(frame.bitmapName, "TEXTSCURSOR");
  frame.width = 10;
  frame.height = 19;
  frame.colorKey = 0xFFFFFF;
  frame.movementX = 0.0f;
  frame.movementY = 0.0f;
  frame.duration = 1;
  frame.flipXAllowed = 0;
  frame.flipYAllowed = 0;
  frame.reserved = 0;
  frame.referencePoints[0][0].x = 5;
  frame.referencePoints[0][0].y = 9;
  SetRect(&frame.collisionRects[kFlipNone], 0, 0, 9, 18);
  frame.anchorX = 5;
  frame.anchorY = 9;
  frame.anchorOn = 0;
  frame.colorKeyOn = 1;
}

}  // namespace quor
