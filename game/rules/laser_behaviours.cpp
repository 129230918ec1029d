// Laser shooters that fire a copy of their beam at the end of every cycle, and the beams.
#include "engine/scene/sprite.h"
#include "game/rules/behaviour_helpers.h"
#include "game/rules/behaviours.h"

namespace game {

namespace {

constexpr int8_t kShooterCycle = 0;
// Where spent beams wait, hidden, until the scene is left.
constexpr float kSpentX = -100.0f;
constexpr float kSpentY = -100.0f;

struct Shot {
  const char* beam;  // the sprite copied: the newest copy still in the scene, else the template
  float offsetX, offsetY;
  float directionX, directionY;
};

constexpr Shot kUpward{"Laser Beam Up", -3.0f, -9.0f, 0.0f, -1.0f};
constexpr Shot kDownward{"Laser Beam Up", -3.0f, 9.0f, 0.0f, 1.0f};
constexpr Shot kRightward{"Laser Beam Across", 9.0f, -3.0f, 1.0f, 0.0f};
constexpr Shot kLeftward{"Laser Beam Across", -9.0f, -3.0f, -1.0f, 0.0f};

// Spent beams are hidden, not deleted, so a long stay fills the beam's layer; a shooter
// whose copy finds no room skips that shot and tries again at the end of its next cycle.
void FireAtCycleEnd(quor::Sprite& shooter, const Shot& shot) {
  if (!shooter.IsActionFinished(kShooterCycle)) return;
  quor::Sprite* beam = SpawnCopyOf(shot.beam);
  if (!beam) return;
  Show(*beam);
  Park(*beam, shooter.GetX() + shot.offsetX, shooter.GetY() + shot.offsetY);
  Aim(*beam, shot.directionX, shot.directionY);
  PlaySound("Laser");
}

void PutAway(quor::Sprite& beam) {
  Park(beam, kSpentX, kSpentY);
  Hide(beam);
}

}  // namespace

void LaserBallUpBehaviour(quor::Sprite& shooter) { FireAtCycleEnd(shooter, kUpward); }
void LaserBeamLeftBehaviour(quor::Sprite& shooter) { FireAtCycleEnd(shooter, kRightward); }
void LaserTrapDownBehaviour(quor::Sprite& shooter) { FireAtCycleEnd(shooter, kDownward); }
void LaserTrapRightBehaviour(quor::Sprite& shooter) { FireAtCycleEnd(shooter, kLeftward); }

void LaserBeamBehaviour(quor::Sprite& beam) {
  if (beam.IsTouchingMap()) PutAway(beam);
  if (beam.HasTouched(nullptr)) PutAway(beam);
}

}  // namespace game
