// The game's sprite behaviours: plain functions that the engine calls once per tick in the
// sprite step of each active sprite whose behaviour index selects them, before the
// sprite's animation, velocity, collision and movement of that tick. They keep no state
// of their own: what they remember lives in the sprites and in the game variables.
#pragma once

#include <cstdint>

namespace quor {
class Sprite;
}

namespace game {

// The number of entries in the behaviour table.
constexpr int32_t kBehaviourCount = 43;

// Fills quor::BehaviourTable (allocated by the caller) with the 43 behaviours in index
// order.
void FillBehaviourTable();

// The hero.
void PlayerBehaviour(quor::Sprite& hero);

// Items and the status row.
void HatBehaviour(quor::Sprite& sprite);
void KeyBehaviour(quor::Sprite& sprite);
void FireIconBehaviour(quor::Sprite& sprite);
void WaterIconBehaviour(quor::Sprite& sprite);
void DaggerBehaviour(quor::Sprite& sprite);
void BootBehaviour(quor::Sprite& sprite);
void GlassBehaviour(quor::Sprite& sprite);
void MeatBehaviour(quor::Sprite& sprite);

// Counters shown as frames.
void HeartsBehaviour(quor::Sprite& sprite);
void DemonLifeBarBehaviour(quor::Sprite& sprite);
void TenmaLifeBarBehaviour(quor::Sprite& sprite);

// Doors and obstacles.
void DoorBehaviour(quor::Sprite& sprite);
void FinalLevelDoorBehaviour(quor::Sprite& sprite);
void SecretDoorBehaviour(quor::Sprite& sprite);
void CoverBehaviour(quor::Sprite& sprite);
void WallBehaviour(quor::Sprite& sprite);

// Level hazards.
void MellonMan1Behaviour(quor::Sprite& sprite);
void MellonMan2Behaviour(quor::Sprite& sprite);
void MellonMan3Behaviour(quor::Sprite& sprite);
void MellonMan4Behaviour(quor::Sprite& sprite);
void FireBallBehaviour(quor::Sprite& sprite);
void FireBlastBehaviour(quor::Sprite& sprite);
void HelmitBehaviour(quor::Sprite& sprite);

// Laser traps.
void LaserBallUpBehaviour(quor::Sprite& sprite);
void LaserBeamBehaviour(quor::Sprite& sprite);
void LaserBeamLeftBehaviour(quor::Sprite& sprite);
void LaserTrapDownBehaviour(quor::Sprite& sprite);
void LaserTrapRightBehaviour(quor::Sprite& sprite);

// Boss projectiles, and the first boss's attack as a plain behaviour.
void BallBehaviour(quor::Sprite& sprite);
void BossLaserBehaviour(quor::Sprite& sprite);
void BarfBehaviour(quor::Sprite& sprite);
void TballBehaviour(quor::Sprite& sprite);
void TlaserBehaviour(quor::Sprite& sprite);
void TblobBehaviour(quor::Sprite& sprite);
void DemonFireBehaviour(quor::Sprite& sprite);

// Scene control.
void TitleBehaviour(quor::Sprite& sprite);
void InstructBehaviour(quor::Sprite& sprite);
void IntroBehaviour(quor::Sprite& sprite);
void StageIntroBehaviour(quor::Sprite& sprite);
void ContinueBehaviour(quor::Sprite& sprite);
void FinalDoorFallBehaviour(quor::Sprite& sprite);
void RestartBehaviour(quor::Sprite& sprite);

}  // namespace game
