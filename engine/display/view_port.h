// The visible window onto a scene's world: where it lies in world pixels, how far it may
// scroll, and the scrolling box (view-relative) inside which the main character stays,
// whose edges can be pushed out up to a limit each. Saved with the scene.
#pragma once

#include "engine/core/class_record.h"
#include "engine/core/node.h"
#include "engine/core/rect.h"

namespace quor {

// A rectangle of f32 pixels in the order the view keeps and saves it.
struct ViewRect {
  float top = 0.0f;
  float left = 0.0f;
  float bottom = 0.0f;
  float right = 0.0f;
};

struct ScrollAmount {
  float x = 0.0f;
  float y = 0.0f;
};

class ViewPort : public Node {
 public:
  // A 640 x 480 world seen whole from (0, 0).
  ViewPort();
  ViewPort(float worldWidth, float worldHeight, float left, float top, float viewWidth, float viewHeight);

  Node* Clone() const override { return new ViewPort(*this); }
  void Load(ObjectStream& stream) override;
  void Save(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return ViewPortClassRecord; }

  void SetWorldWidth(float w);
  void SetWorldHeight(float h);
  // Sizes of the view; the scroll box stays as it is.
  void SetViewWidth(float w);
  void SetViewHeight(float h);
  // Places the view without any bound; the next scroll brings it back.
  void SetLeft(float x);
  void SetTop(float y);
  float GetViewWidth() const { return screenRect.right; }
  float GetViewHeight() const { return screenRect.bottom; }
  float GetLeft() const { return viewRect.left; }
  float GetTop() const { return viewRect.top; }
  // The view in whole world pixels.
  Rect GetViewRect() const;
  ViewRect GetScreenRect() const { return screenRect; }

  // Moves the view by (dx, dy) within the world; returns the move applied.
  ScrollAmount ScrollBy(float dx, float dy);
  ScrollAmount GetLastMove() const { return {lastMoveX, lastMoveY}; }

  // The scroll box, view-relative; setting it clears every push.
  void SetScrollBox(float left, float top, float width, float height);
  float GetScrollBoxLeft() const { return scrollBox.left; }
  float GetScrollBoxTop() const { return scrollBox.top; }
  float GetScrollBoxRight() const { return scrollBox.right; }
  float GetScrollBoxBottom() const { return scrollBox.bottom; }
  ViewRect GetScrollBox() const { return scrollBox; }
  ViewRect GetInitialScrollBox() const { return setBox; }
  ViewRect GetScrollBoxInWorld() const;

  void SetRightPushLimit(float limit) { rightPushLimit = limit; }
  void SetLeftPushLimit(float limit) { leftPushLimit = limit; }
  void SetTopPushLimit(float limit) { topPushLimit = limit; }
  void SetBottomPushLimit(float limit) { bottomPushLimit = limit; }
  // Pushes an edge outward by d (inward for a negative d), never beyond its limit from its
  // set place; returns the amount applied.
  float PushRightEdge(float d);
  float PushLeftEdge(float d);
  float PushTopEdge(float d);
  float PushBottomEdge(float d);

  // Outlines the scroll box on the back buffer in screen pixels.
  void DrawScrollBox();

  // --- fields, in the order they are documented ---
  float worldWidth = 640.0f, worldHeight = 480.0f;
  float maxLeft = 0.0f, maxTop = 0.0f;
  ViewRect screenRect;
  ViewRect viewRect;
  ViewRect scrollBox;
  ViewRect setBox;
  float rightPushLimit = 0.0f, leftPushLimit = 0.0f, topPushLimit = 0.0f, bottomPushLimit = 0.0f;
  float rightPush = 0.0f, leftPush = 0.0f, topPush = 0.0f, bottomPush = 0.0f;
  float lastMoveX = 0.0f, lastMoveY = 0.0f;
};

}  // namespace quor
