// The bosses' projectiles, and the first boss's attack as a plain behaviour.
#include "engine/scene/sprite.h"
#include "game/rules/behaviour_helpers.h"
#include "game/rules/behaviours.h"
#include "game/rules/boss_attacks.h"
#include "game/rules/game_variables.h"

namespace game {

namespace {

bool HitAnything(const quor::Sprite& shot) {
  return shot.IsTouchingMap() || shot.HasTouched(nullptr);
}

// The final boss's laser and blob: they fly toward smaller x and swing their height
// toward the hero's, 2 a tick; above the hero they also speed up sideways.
void SteerAtHero(quor::Sprite& shot) {
  if (shot.IsTouchingMap() || shot.HasTouched("Player") || IsParked(shot)) {
    Kill(shot);
    return;
  }
  float heroY = HeroPosition().y;
  if (heroY < shot.GetY()) {
    shot.SetSpeedY(shot.GetSpeedY() - 2.0f);
    if (shot.GetSpeedX() < 5.0f) shot.SetSpeedX(shot.GetSpeedX() - 1.0f);
  } else if (heroY > shot.GetY()) {
    shot.SetSpeedY(shot.GetSpeedY() + 2.0f);
    if (shot.GetSpeedX() > 5.0f) shot.SetSpeedX(shot.GetSpeedX() + 1.0f);
  }
}

constexpr int8_t kLaserSpark = 3;
// A ball that has sped up this far has met its fourth wall.
constexpr float kBallLastSpeed = 9.0f;

}  // namespace

void BallBehaviour(quor::Sprite& ball) {
  if (HitAnything(ball)) Hide(ball);
}

void BossLaserBehaviour(quor::Sprite& laser) {
  // A laser falls while its speed y is set (the boss sets it when it fires); on impact it
  // stops and shows its spark, then goes.
  if (laser.GetSpeedY() != 0.0f && HitAnything(laser)) {
    laser.SetAction(kLaserSpark);
    laser.SetFrame(0);
    Aim(laser, 0.0f, 0.0f);
    laser.SetSpeedY(0.0f);
  }
  if (laser.IsActionFinished(kLaserSpark)) Hide(laser);
}

void BarfBehaviour(quor::Sprite& barf) {
  // The template waits parked off screen, over the spot where the hero's shot is parked.
  // It is spent only once fired, and it waits hidden, so that the parked shot does not
  // keep touching it and is put away again each time the hero fires it.
  if (IsParked(barf)) {
    Hide(barf);
    return;
  }
  if (HitAnything(barf)) Kill(barf);
}

void TballBehaviour(quor::Sprite& ball) {
  if (ball.HasTouched("Player") || ball.HasTouched("FireBlast") ||
      ball.GetSpeedX() >= kBallLastSpeed) {
    Kill(ball);
    return;
  }
  if (ball.IsTouchingMap()) {
    ball.SetSpeedX(ball.GetSpeedX() + 1.0f);
    ball.SetSpeedY(ball.GetSpeedY() + 1.0f);
  }
}

void TlaserBehaviour(quor::Sprite& laser) { SteerAtHero(laser); }
void TblobBehaviour(quor::Sprite& blob) { SteerAtHero(blob); }

// The "Fire" state of the first boss's machine as a behaviour of its own, ending in the
// boss's death. A full layer skips a ball.
void DemonFireBehaviour(quor::Sprite& boss) {
  if (BallIsDue(boss)) FireDemonBall(boss, WhenLayerFull::kSkip);
  LoseLifeToBlast(boss, DemonLife);
  if (IsLifeOver(DemonLife)) DemonDies(boss);
}

}  // namespace game
