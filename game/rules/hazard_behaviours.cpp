// The Mellon Men and their fireballs, the hero's fire blast and the Helmits.
#include <cstdint>

#include "engine/scene/sprite.h"
#include "game/rules/behaviour_helpers.h"
#include "game/rules/behaviours.h"

namespace game {

namespace {

constexpr float kFireBallPark = -100.0f;
constexpr float kFireBlastPark = -50.0f;

// Each Mellon Man throws one fireball of its own, the same sprite every time: when its
// throwing action has played through, the ball is put back at its hand and falls on with
// the speed and direction it has.
void ThrowFireBall(quor::Sprite& thrower, int8_t throwAction, const char* ball, float dx,
                   float dy) {
  if (thrower.IsActionFinished(throwAction)) {
    if (quor::Sprite* fireBall = FindSprite(ball))
      Park(*fireBall, thrower.GetX() + dx, thrower.GetY() + dy);
  }
  if (thrower.HasTouched("FireBlast")) Kill(thrower);
}

}  // namespace

void MellonMan1Behaviour(quor::Sprite& s) { ThrowFireBall(s, 0, "FireBall", 7.0f, 5.0f); }
void MellonMan2Behaviour(quor::Sprite& s) { ThrowFireBall(s, 0, "FireBall2", 7.0f, 5.0f); }
void MellonMan3Behaviour(quor::Sprite& s) { ThrowFireBall(s, 1, "FireBall3", 7.0f, -5.0f); }
void MellonMan4Behaviour(quor::Sprite& s) { ThrowFireBall(s, 1, "FireBall4", 7.0f, -9.0f); }

// A ball that hits a wall falls from then on, wherever it is thrown from next.
void FireBallBehaviour(quor::Sprite& ball) {
  if (ball.IsTouchingMap()) {
    Park(ball, kFireBallPark, kFireBallPark);
    Aim(ball, 0.0f, 1.0f);
  }
  if (ball.HasTouched(nullptr)) Park(ball, kFireBallPark, kFireBallPark);
}

// Off screen the hero sees the blast as parked and may fire again.
void FireBlastBehaviour(quor::Sprite& blast) {
  if (!blast.IsTouchingMap() && !blast.HasTouched(nullptr)) return;
  Aim(blast, 0.0f, 0.0f);
  Park(blast, kFireBlastPark, kFireBlastPark);
}

// A Helmit walks its path facing where it goes; only the trap stops it.
void HelmitBehaviour(quor::Sprite& helmit) {
  if (helmit.HasTouched("Trap")) Kill(helmit);
  const float vx = helmit.GetVelocityX(), vy = helmit.GetVelocityY();
  if (vy > 0.0f) {
    helmit.SetAction(0);
  } else if (vy < 0.0f) {
    helmit.SetAction(1);
  } else if (vx > 0.0f) {
    helmit.SetAction(3);
  } else if (vx < 0.0f) {
    helmit.SetAction(2);
  } else {
    helmit.SetFrame(0);
    Aim(helmit, 0.0f, 0.0f);
  }
}

}  // namespace game
