#include "game/rules/boss_attacks.h"

#include "engine/scene/sprite.h"
#include "game/rules/behaviour_helpers.h"

namespace game {

namespace {

constexpr float kBallInterval = 10.0f;

}  // namespace

quor::Sprite* FireCopyOf(const char* name, const quor::Sprite& boss, float offsetX, float offsetY,
                         WhenLayerFull whenFull) {
  quor::Sprite* original = FindSprite(name);
  if (!original || original->IsDead()) return nullptr;
  quor::Sprite* shot = original->Spawn();
  if (!shot) {
    if (whenFull == WhenLayerFull::kSkip) return nullptr;
    shot = original;
  }
  Show(*shot);
  shot->SetX(boss.GetX() + offsetX);
  shot->SetY(boss.GetY() + offsetY);
  return shot;
}

bool BallIsDue(quor::Sprite& boss) {
  // Only a damaged saved game gives a negative countdown; it counts as run out.
  bool due = boss.GetSpeedY() <= 0.0f;
  if (due) boss.SetSpeedY(kBallInterval);
  boss.SetSpeedY(boss.GetSpeedY() - 1.0f);
  return due;
}

void FireDemonBall(const quor::Sprite& boss, WhenLayerFull whenFull) {
  FireCopyOf("Ball", boss, 58.0f, 76.0f, whenFull);
}

Position HeroPosition() {
  const quor::Sprite* hero = FindSprite("Player");
  return hero ? Position{hero->GetX(), hero->GetY()} : Position{0.0f, 0.0f};
}

Position SignsTowardHero(const quor::Sprite& boss) {
  Position hero = HeroPosition();
  return Position{boss.GetX() > hero.x ? -1.0f : 1.0f, boss.GetY() > hero.y ? -1.0f : 1.0f};
}

void LoseLifeToBlast(const quor::Sprite& boss, int32_t& life) {
  if (boss.HasTouched("FireBlast")) --life;
}

void DemonDies(quor::Sprite& boss) {
  Kill(boss);
  if (quor::Sprite* water = FindSprite("WaterIcon")) Show(*water);
}

}  // namespace game
