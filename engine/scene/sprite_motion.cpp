// The sprite's per-frame behaviour: the animation step, direction and speed with friction
// and acceleration, paths of straight steps, the move (with the main character scrolling
// the view) and anchor alignment.
#include <cmath>
#include <new>

#include "engine/core/engine_globals.h"
#include "engine/display/map.h"
#include "engine/scene/animation.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/sound.h"

namespace quor {

namespace {

void PlayActionSound(SpriteAction* act) {
  if (act && act->soundOn && act->sound) act->sound->Play();
}

// Moves v toward 0 by step, never past it.
float TowardZero(float v, float step) {
  if (v < 0.0f) {
    v += step;
    if (v > 0.0f) v = 0.0f;
  } else if (v > 0.0f) {
    v -= step;
    if (v < 0.0f) v = 0.0f;
  }
  return v;
}

}  // namespace

// --- animation ---

void Sprite::Animate() {
  if (requestedAction != action) {
    SpriteAction* next = FindAnimationAction(animationSet, requestedAction);
    if (!next || frame < 0 || frame >= next->frameCount) frame = 0;
    action = requestedAction;
    if (SpriteFrame* f = GetCurrentFrame()) frameTimer = f->duration;
    PlayActionSound(next);
    firstStep = 0;
  } else if (firstStep) {
    PlayActionSound(GetCurrentAction());
    firstStep = 0;
  }

  if (frameTimer != 0) {
    --frameTimer;
    return;
  }

  SpriteAction* act = GetCurrentAction();
  if (!act || act->frameCount == 0) return;
  const int32_t count = act->frameCount;
  const int32_t last = count - 1;
  // An index the action lacks (a damaged save) is brought back inside it.
  if (frame < 0) frame = 0;
  if (frame > last) frame = static_cast<int8_t>(last);

  if (frame != last) {
    frame = static_cast<int8_t>(frame + 1);
  } else {
    if (count < 2) frame = 0;
    else if (act->loopStart < count) frame = static_cast<int8_t>(act->loopStart < 0 ? 0 : act->loopStart);
    else frame = static_cast<int8_t>(last);
    if (act->soundMode == 1) PlayActionSound(act);
  }
  frameTimer = act->frames[frame].duration;
}

// --- direction and velocity ---

void Sprite::SetDirection(float dx, float dy, uint32_t steps) {
  if (frameMovementOn) return;
  if (dx == 0.0f && dy == 0.0f) {
    directionX = 0.0f;
    directionY = 0.0f;
    return;
  }
  float ux = dx, uy = dy;
  float length = std::sqrt(dx * dx + dy * dy);
  if (length != 0.0f) {
    ux = dx / length;
    uy = dy / length;
  }
  if (steps > 10) steps = 10;
  for (uint32_t i = 0; i < steps; ++i) {
    ux += directionX;
    uy += directionY;
    if (ux == 0.0f && uy == 0.0f) uy = -0.01f;
    length = std::sqrt(ux * ux + uy * uy);
    if (length != 0.0f) {
      ux /= length;
      uy /= length;
    }
  }
  directionX = ux;
  directionY = uy;
}

void Sprite::UpdateVelocity() {
  if (frameMovementOn) {
    UpdateFrameMovementDirection();
    SpriteFrame* f = GetCurrentFrame();
    float mx = f ? f->movementX : 0.0f;
    float my = f ? f->movementY : 0.0f;
    velocityX = mx * directionX * speedX;
    velocityY = my * directionY * speedY;
    return;
  }
  ApplyFriction();
  Accelerate();
  velocityX = speedX * directionX;
  velocityY = speedY * directionY;
}

void Sprite::ApplyFriction() {
  if (friction == 0.0f) return;
  speedX -= friction;
  if (speedX < 0.0f) speedX = 0.0f;
  speedY -= friction;
  if (speedY < 0.0f) speedY = 0.0f;
}

void Sprite::Accelerate() {
  if (!accelerationOn || acceleration == 0.0f) return;
  const float k = 1.0f / 41.0f;
  float a = std::fabs(acceleration);
  if (a > 1.0f) a = 1.0f;
  acceleration = a;

  if (directionY > 0.0f) {
    speedX += a * 0.05f;
    speedY += a * 0.05f;
    directionX = TowardZero(directionX, a * k);
  } else {
    float slow = fastAcceleration ? a * 0.1f : a * 0.05f;
    speedX -= slow;
    speedY -= slow;
    if (speedX < 0.0f) {
      speedX = 0.0f;
      speedY = 0.0f;
    }
    float push = fastAcceleration ? a * 0.1f : a * k;
    if (directionX < 0.0f) {
      directionX -= push;
      if (directionX < -1.0f) directionX = -1.0f;
    } else if (directionX > 0.0f) {
      directionX += push;
      if (directionX > 1.0f) directionX = 1.0f;
    }
  }

  float dx = directionX, dy = directionY;
  if (speedX == 0.0f && dy <= 0.0f) {
    SetDirection(dx, -dy, 0);
  } else if (dx == 0.0f && speedX <= 0.0f) {
    SetDirection(0.0f, -dy, 0);
  } else if (dx != 1.0f && dx != -1.0f) {
    SetDirection(dx, dy, 0);
  } else if (dy <= 0.0f && touchedMap == 0) {
    // Still in the air against the previous frame's map contact: fall back down.
    dy = -dy;
    if (dy == 0.0f) dy = a / 43.0f;
    dx = TowardZero(dx, a * k);
    SetDirection(dx, dy, 0);
  } else {
    SetDirection(dx, dy, 0);
  }
}

void Sprite::UpdateFrameMovementDirection() {
  if (frameMovementAlongX && frameMovementAlongY) {
    directionX = frameMovementSignX;
    directionY = frameMovementSignY;
  } else if (frameMovementAlongX) {
    directionX = frameMovementSignX;
    directionY = 0.0f;
  } else if (frameMovementAlongY) {
    directionX = 0.0f;
    directionY = frameMovementSignY;
  }
  SpriteFrame* f = GetCurrentFrame();
  if (frameMovementSignX == -1.0f) {
    if (f && f->flipXAllowed) flipX = 1;
  } else if (frameMovementSignX == 1.0f) {
    flipX = 0;
  }
  if (frameMovementSignY == -1.0f) {
    if (f && f->flipYAllowed) flipY = 1;
  } else if (frameMovementSignY == 1.0f) {
    flipY = 0;
  }
}

// --- paths ---

void Sprite::SetPathLength(uint32_t n) {
  ClearPath();
  pathLength = 0;
  if (n == 0) return;
  path = new (std::nothrow) PathStep[n];
  if (path) pathLength = n;
}

void Sprite::SetPathStep(uint32_t i, int32_t dx, int32_t dy) {
  if (!path || i < 1 || i > pathLength) return;
  PathStep& step = path[i - 1];
  if (dx == 0 && dy == 0) {
    step = PathStep();
    return;
  }
  double length = std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
  step.unitX = static_cast<float>(dx / length);
  step.unitY = static_cast<float>(dy / length);
  int32_t lx = step.unitX != 0.0f ? static_cast<int32_t>(static_cast<float>(dx) / step.unitX) : 0;
  int32_t ly = step.unitY != 0.0f ? static_cast<int32_t>(static_cast<float>(dy) / step.unitY) : 0;
  step.length = static_cast<uint32_t>(lx > ly ? lx : ly);
}

void Sprite::StartPath(uint8_t loopMode) {
  pathStep = 0;
  pathDistance = 0;
  pathLoop = loopMode;
}

void Sprite::ClearPath() {
  if (!path) return;
  delete[] path;
  path = nullptr;
  pathLength = 0;
  pathStep = -1;
  pathDistance = 0;
  pathLoop = 0;
  SetDirection(0.0f, 0.0f, 0);
}

void Sprite::FollowPath() {
  if (!path || pathLength == 0 || pathStep == -1) return;
  if (pathStep < 0 || static_cast<uint32_t>(pathStep) >= pathLength) return;
  float covered = static_cast<float>(pathDistance) + speedX;
  pathDistance = covered > 0.0f ? static_cast<uint32_t>(covered) : 0;
  const PathStep& step = path[pathStep];
  if (pathDistance < step.length) {
    SetDirection(step.unitX, step.unitY, 0);
    return;
  }
  ++pathStep;
  pathDistance = 0;
  if (static_cast<uint32_t>(pathStep) >= pathLength) {
    if (pathLoop == 1) {
      pathStep = 0;
    } else {
      pathStep = -1;
      SetDirection(0.0f, 0.0f, 0);
    }
  }
}

// --- the move ---

void Sprite::Move() {
  if (alignAnchors) AlignToAnchor();
  ViewPort* view = CurrentGameNode ? &CurrentGameNode->viewPort : nullptr;
  float viewLeft = view ? view->GetLeft() : 0.0f;
  float viewTop = view ? view->GetTop() : 0.0f;

  if (this != MainCharacter || !view) {
    if (showDirection) DrawDirection(0);
    x += velocityX;
    y += velocityY;
    if (!map || map->IsMasterMap()) {
      screenX = static_cast<int32_t>(x - viewLeft);
      screenY = static_cast<int32_t>(y - viewTop);
    } else {
      screenX = static_cast<int32_t>(map->GetWorldX() - viewLeft + x);
      screenY = static_cast<int32_t>(map->GetWorldY() - viewTop + y);
    }
  } else {
    Rect r = GetCollisionRect();
    float vx = velocityX, vy = velocityY;
    const float w = static_cast<float>(CurrentGameNode->GetWidth());
    const float h = static_cast<float>(CurrentGameNode->GetHeight());
    // Kept inside the scene.
    if (x + vx + r.left < 0.0f) vx = -x - r.left;
    else if (x + vx + r.right >= w) vx = w - x - r.right;
    if (y + vy + r.top < 0.0f) vy = -y - r.top;
    else if (y + vy + r.bottom >= h) vy = h - y - r.bottom;

    // Where the rectangle would stand in the view, against the scrolling box.
    float left = x + vx - viewLeft + r.left;
    float right = left + r.right - r.left;
    float top = y + vy - viewTop + r.top;
    float bottom = top + r.bottom - r.top;
    bool pushX = vx != 0.0f && (left <= view->GetScrollBoxLeft() || right >= view->GetScrollBoxRight());
    bool pushY = vy != 0.0f && (top <= view->GetScrollBoxTop() || bottom >= view->GetScrollBoxBottom());

    auto scrolled = view->ScrollBy(pushX ? vx : 0.0f, pushY ? vy : 0.0f);
    float moveX = vx, moveY = vy;
    if (pushX) {
      moveX = scrolled.x;
      if (scrolled.x == 0.0f) moveX += vx > 0.0f ? view->PushRightEdge(vx) : -view->PushLeftEdge(-vx);
    }
    if (pushY) {
      moveY = scrolled.y;
      if (scrolled.y == 0.0f) moveY += vy > 0.0f ? view->PushBottomEdge(vy) : -view->PushTopEdge(-vy);
    }
    x += moveX;
    y += moveY;
    screenX = static_cast<int32_t>(x - view->GetLeft());
    screenY = static_cast<int32_t>(y - view->GetTop());

    // Edges pushed out earlier come back as the character walks away from them.
    bool pullX = !(pushX && !pushY);
    bool pullY = !(pushY && !pushX);
    auto box = view->GetScrollBox();
    auto home = view->GetInitialScrollBox();
    if (pullX) {
      if (vx > 0.0f && box.left < home.left) view->PushLeftEdge(-vx);
      else if (vx < 0.0f && box.right > home.right) view->PushRightEdge(vx);
    }
    if (pullY) {
      if (vy > 0.0f && box.top < home.top) view->PushTopEdge(-vy);
      else if (vy < 0.0f && box.bottom > home.bottom) view->PushBottomEdge(vy);
    }
  }

  if (timeOfImpact <= 1.0f && bounce && !rectangleCollision) {
    if (frameMovementOn) return;
    Reflect(body.GetNormalX(), body.GetNormalY());
  }
  if (!frameMovementOn) UpdateFlipFromDirection();
}

void Sprite::Reflect(float nx, float ny) {
  float dot = directionX * nx + directionY * ny;
  directionX = directionX - 2.0f * dot * nx;
  directionY = directionY - 2.0f * dot * ny;
}

void Sprite::UpdateFlipFromDirection() {
  SpriteFrame* f = GetCurrentFrame();
  if (f && f->flipXAllowed == 1) {
    if (directionX < 0.0f) flipX = 1;
    else if (directionX > 0.0f) flipX = 0;
  } else {
    flipX = 0;
  }
  if (f && f->flipYAllowed == 1) {
    if (directionY < 0.0f) flipY = 1;
    else if (directionY > 0.0f) flipY = 0;
  } else {
    flipY = 0;
  }
}

void Sprite::AlignToAnchor() {
  SpriteFrame* f = GetCurrentFrame();
  if (!f || !f->anchorOn) return;
  if (static_cast<int32_t>(frameTimer) < static_cast<int32_t>(f->duration) - 1) return;
  SpriteAction* act = GetCurrentAction();
  SpriteFrame* previous = act->GetFrame(previousAnchoredFrame);
  if (!previous) {
    previousAnchoredFrame = frame;
    return;
  }
  int32_t dx = f->anchorX - previous->anchorX;
  int32_t dy = f->anchorY - previous->anchorY;
  if (dx != 0) SetX(x - static_cast<float>(dx));
  if (dy != 0) SetY(y - static_cast<float>(dy));
  previousAnchoredFrame = frame;
}

}  // namespace quor
