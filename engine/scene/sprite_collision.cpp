// Stand-in until the collision of sprites with maps and sprites lands: no test finds a
// contact, so the time of impact stays as the frame step set it.
#include <cstring>

#include "engine/scene/sprite.h"

namespace quor {

void Sprite::CheckMapCollision() {}

void Sprite::CheckSpriteCollision(Sprite*) {}

void Sprite::ApplyTimeOfImpact() {
  if (timeOfImpact > 1.0f) return;
  velocityX = directionX * speedX * timeOfImpact;
  velocityY = directionY * speedY * timeOfImpact;
}

bool Sprite::IsTouchingMap() const { return touchedMap != 0; }

bool Sprite::HasTouched(const char* otherName) const {
  if (!otherName) return touchedNames.Size() != 0;
  for (uint32_t i = 0; i < touchedNames.Size(); ++i)
    if (std::strncmp(touchedNames[i].name, otherName, sizeof touchedNames[i].name) == 0) return true;
  return false;
}

}  // namespace quor
