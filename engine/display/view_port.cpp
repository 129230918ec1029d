#include "engine/display/view_port.h"

#include "engine/core/object_stream.h"
#include "engine/display/display.h"
#include "platform/canvas.h"

namespace quor {

namespace {

// The new push within [-limit, limit]; returns the amount applied.
float Push(float& push, float limit, float d) {
  float t = push + d;
  if (t > limit) t = limit;
  if (t < -limit) t = -limit;
  float applied = t - push;
  push = t;
  return applied;
}

void WriteViewRect(ObjectStream& s, const ViewRect& r) {
  s.WriteLong(r.top);
  s.WriteLong(r.left);
  s.WriteLong(r.bottom);
  s.WriteLong(r.right);
}

// The view's numbers meet whole-pixel conversions every frame: a file may hold only
// finite values within the largest world.
void ReadViewRect(ObjectStream& s, ViewRect& r) {
  for (float* v : {&r.top, &r.left, &r.bottom, &r.right}) s.ReadReal(v, kLargestSavedCoordinate);
}

}  // namespace

ViewPort::ViewPort() : ViewPort(640.0f, 480.0f, 0.0f, 0.0f, 640.0f, 480.0f) {}

ViewPort::ViewPort(float worldW, float worldH, float left, float top, float viewW, float viewH)
    : worldWidth(worldW), worldHeight(worldH), maxLeft(worldW - viewW), maxTop(worldH - viewH) {
  screenRect = {0.0f, 0.0f, viewH, viewW};
  viewRect = {top, left, top + viewH, left + viewW};
  scrollBox = {0.0f, 0.0f, viewH, viewW};
  setBox = scrollBox;
}

void ViewPort::SetWorldWidth(float w) {
  worldWidth = w;
  maxLeft = w - screenRect.right;
}

void ViewPort::SetWorldHeight(float h) {
  worldHeight = h;
  maxTop = h - screenRect.bottom;
}

void ViewPort::SetViewWidth(float w) {
  maxLeft = worldWidth - w;
  screenRect.right = w;
  viewRect.right = viewRect.left + w;
}

void ViewPort::SetViewHeight(float h) {
  maxTop = worldHeight - h;
  screenRect.bottom = h;
  viewRect.bottom = viewRect.top + h;
}

void ViewPort::SetLeft(float x) {
  viewRect.right = viewRect.right - viewRect.left + x;
  viewRect.left = x;
}

void ViewPort::SetTop(float y) {
  viewRect.bottom = viewRect.bottom - viewRect.top + y;
  viewRect.top = y;
}

Rect ViewPort::GetViewRect() const {
  Rect r;
  r.left = int32_t(viewRect.left);
  r.top = int32_t(viewRect.top);
  r.right = int32_t(float(r.left) + screenRect.right);
  r.bottom = int32_t(float(r.top) + screenRect.bottom);
  return r;
}

ScrollAmount ViewPort::ScrollBy(float dx, float dy) {
  // Below 0 is tested first: a world narrower than the view pins the view at max left.
  if (viewRect.left + dx < 0.0f)
    dx = -viewRect.left;
  else if (!(viewRect.left + dx < maxLeft))
    dx = maxLeft - viewRect.left;
  if (viewRect.top + dy < 0.0f)
    dy = -viewRect.top;
  else if (!(viewRect.top + dy < maxTop))
    dy = maxTop - viewRect.top;
  viewRect.left += dx;
  viewRect.right += dx;
  viewRect.top += dy;
  viewRect.bottom += dy;
  lastMoveX = dx;
  lastMoveY = dy;
  return {dx, dy};
}

void ViewPort::SetScrollBox(float left, float top, float width, float height) {
  scrollBox = {top, left, top + height, left + width};
  setBox = scrollBox;
  rightPush = leftPush = topPush = bottomPush = 0.0f;
}

ViewRect ViewPort::GetScrollBoxInWorld() const {
  return {scrollBox.top + viewRect.top, scrollBox.left + viewRect.left, scrollBox.bottom + viewRect.top,
          scrollBox.right + viewRect.left};
}

float ViewPort::PushRightEdge(float d) {
  float a = Push(rightPush, rightPushLimit, d);
  scrollBox.right += a;
  return a;
}

float ViewPort::PushLeftEdge(float d) {
  float a = Push(leftPush, leftPushLimit, d);
  scrollBox.left -= a;
  return a;
}

float ViewPort::PushTopEdge(float d) {
  float a = Push(topPush, topPushLimit, d);
  scrollBox.top -= a;
  return a;
}

float ViewPort::PushBottomEdge(float d) {
  float a = Push(bottomPush, bottomPushLimit, d);
  scrollBox.bottom += a;
  return a;
}

void ViewPort::DrawScrollBox() {
  if (!BackBuffer) return;
  platform::Canvas canvas(*BackBuffer);
  if (!canvas.Ready()) return;
  int left = int(scrollBox.left), top = int(scrollBox.top);
  int right = int(scrollBox.right), bottom = int(scrollBox.bottom);
  canvas.MoveTo(left, top);
  canvas.LineTo(right, top);
  canvas.LineTo(right, bottom);
  canvas.LineTo(left, bottom);
  canvas.LineTo(left, top);
}

void ViewPort::Save(ObjectStream& s) {
  s.WriteLong(worldWidth);
  s.WriteLong(worldHeight);
  s.WriteLong(maxLeft);
  s.WriteLong(maxTop);
  WriteViewRect(s, viewRect);
  WriteViewRect(s, scrollBox);
  WriteViewRect(s, screenRect);
  s.WriteLong(lastMoveX);
  s.WriteLong(lastMoveY);
  WriteViewRect(s, setBox);
  s.WriteLong(rightPushLimit);
  s.WriteLong(leftPushLimit);
  s.WriteLong(topPushLimit);
  s.WriteLong(bottomPushLimit);
  s.WriteLong(rightPush);
  s.WriteLong(leftPush);
  s.WriteLong(topPush);
  s.WriteLong(bottomPush);
}

void ViewPort::Load(ObjectStream& s) {
  for (float* v : {&worldWidth, &worldHeight, &maxLeft, &maxTop})
    s.ReadReal(v, kLargestSavedCoordinate);
  ReadViewRect(s, viewRect);
  ReadViewRect(s, scrollBox);
  ReadViewRect(s, screenRect);
  // Maps multiply the last move by their scroll factors.
  s.ReadReal(&lastMoveX, kLargestSavedRate);
  s.ReadReal(&lastMoveY, kLargestSavedRate);
  ReadViewRect(s, setBox);
  for (float* v : {&rightPushLimit, &leftPushLimit, &topPushLimit, &bottomPushLimit, &rightPush,
                   &leftPush, &topPush, &bottomPush})
    s.ReadReal(v, kLargestSavedCoordinate);
}

}  // namespace quor
