// Drawing a sprite's current frame onto the back buffer, and its debug outlines.
#include "engine/app/engine_globals.h"
#include "engine/scene/animation.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"

namespace quor {

bool Sprite::IsOnScreen() const {
  SpriteFrame* f = GetCurrentFrame();
  if (!f || !CurrentGameNode) return false;
  const ViewPort& view = CurrentGameNode->viewPort;
  return screenX + f->width >= 0 && screenY + f->height >= 0 &&
         static_cast<float>(screenY) <= view.GetViewHeight() &&
         static_cast<float>(screenX) <= view.GetViewWidth();
}

void Sprite::Draw() {}
void Sprite::DrawCollisionShapes(uint32_t) {}
void Sprite::DrawCollisionRect(uint32_t) {}
void Sprite::DrawDirection(uint32_t) {}

}  // namespace quor
