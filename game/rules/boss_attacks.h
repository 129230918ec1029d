// What the two bosses' attacks share: firing a copy of a shot from the boss, the ball
// countdown kept in the boss's speed y, the aim at the hero, and the life lost to the
// hero's shot. Used by the bosses' machines and by the first boss's plain behaviour.
#pragma once

#include <cstdint>

namespace quor {
class Sprite;
}

namespace game {

// What an attack does when the layer of its shot holds as many sprites as it can.
enum class WhenLayerFull {
  kFireTheOriginal,  // the sprite that would have been copied is shown, placed and fired
  kSkip,             // no shot this time
};

// Fires a copy of the first sprite named `name` (the newest copy still in the scene, else
// the template): shown, at the boss's position plus the offset, otherwise as the sprite
// copied (speed, direction, action). Null when there is nothing to copy (no such sprite,
// or a dead one) or the shot was skipped.
quor::Sprite* FireCopyOf(const char* name, const quor::Sprite& boss, float offsetX, float offsetY,
                         WhenLayerFull whenFull);

// The ball countdown, once a tick: a ball is due in the tick in which the boss's speed y
// is 0 (the scenes start it there), and then every 10 ticks.
bool BallIsDue(quor::Sprite& boss);

// The first boss's ball: falling from below its mouth, in the direction of the ball it is
// copied from.
void FireDemonBall(const quor::Sprite& boss, WhenLayerFull whenFull);

// Where the hero stands, for aiming: the first sprite named "Player", or the origin.
struct Position {
  float x;
  float y;
};
Position HeroPosition();
// One step toward the hero on each axis (-1 or +1; +1 where they are level).
Position SignsTowardHero(const quor::Sprite& boss);

// One life less in every tick in which the boss has touched the hero's shot.
void LoseLifeToBlast(const quor::Sprite& boss, int32_t& life);
// A life is over at 0 or below: a boss whose life is already spent when its fight starts
// (or goes below 0 before a test sees it) still dies.
inline bool IsLifeOver(int32_t life) { return life <= 0; }

// The first boss's end: it is removed, and the scene's hidden water icon is shown so that
// the hero can take it.
void DemonDies(quor::Sprite& boss);

}  // namespace game
