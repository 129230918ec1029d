// The bosses' machines: states, their enter and update functions, and transitions.
#include "game/rules/boss_machines.h"

#include <cstdlib>

#include "engine/scene/sprite.h"
#include "engine/scene/state_machine.h"
#include "game/rules/behaviour_helpers.h"
#include "game/rules/boss_attacks.h"
#include "game/rules/game_variables.h"

namespace game {

namespace {

// The bosses' actions.
constexpr int8_t kDemonBase = 0, kDemonBeam = 1, kDemonBreath = 2, kDemonDeath = 3;
constexpr int8_t kTenmaAppear = 0, kTenmaBeam = 1, kTenmaBlast = 2, kTenmaAttack = 3,
                 kTenmaCloud = 4;

// The frames the single shots leave on: the last of their actions.
constexpr int8_t kSpitFrame = 2;
constexpr int8_t kZapFrame = 2;
constexpr int8_t kLaserFrame = 4;
constexpr int8_t kBlobFrame = 19;

// Closer than this in height, the final boss throws its balls flat toward smaller x.
constexpr int32_t kLevelWithHero = 50;

void StartAction(quor::Sprite& boss, int8_t action) {
  boss.SetAction(action);
  boss.SetFrame(0);
}

// The state functions are plain functions of the boss; the machine hands them its owner,
// which only a damaged saved game makes anything but a sprite.
template <void (*F)(quor::Sprite&)>
void OnBoss(quor::Node* owner) {
  if (quor::Sprite* boss = AsSprite(owner)) F(*boss);
}
template <bool (*F)(quor::Sprite&)>
bool IfBoss(quor::Node* owner) {
  quor::Sprite* boss = AsSprite(owner);
  return boss && F(*boss);
}

// One state: its name and functions, the state it leads to when its action is done, and
// the test that sends it to the dead state instead (none for the states without a life).
struct StateRow {
  const char* name;
  quor::StateFunction enter;
  quor::StateFunction update;
  uint32_t next;
  quor::ConditionFunction done;
  quor::ConditionFunction lifeOver;
};

void BuildMachine(quor::StateMachine& machine, const StateRow (&rows)[5], uint32_t deadState) {
  quor::StateMachine built(5, 1);
  for (uint32_t s = 1; s <= 5; ++s) {
    const StateRow& row = rows[s - 1];
    built.SetEnterFunction(s, row.enter);
    built.SetUpdateFunction(s, row.update);
    // The transition added last is tested first: the life before the end of the action.
    if (row.done) built.AddTransition(s, row.next, row.done, nullptr);
    if (row.lifeOver) built.AddTransition(s, deadState, row.lifeOver, nullptr);
    built.SetStateName(s, row.name);
  }
  built.SetState(1);
  machine = built;
}

// --- "Demon" ---

// Every attack state of the first boss throws its balls and takes its hits.
void DemonKeepsFighting(quor::Sprite& boss) {
  if (BallIsDue(boss)) FireDemonBall(boss, WhenLayerFull::kFireTheOriginal);
  LoseLifeToBlast(boss, DemonLife);
}

// The beam: the scene's own two lasers (never copies), held at the boss for as long as
// the firing frame shows, then falling.
void HoldLaserAtBoss(const char* name, const quor::Sprite& boss, float offsetX) {
  quor::Sprite* laser = FindSprite(name);
  if (!laser || laser->IsDead()) return;
  Show(*laser);
  laser->SetX(boss.GetX() + offsetX);
  laser->SetY(boss.GetY() + 37.0f);
  laser->SetSpeedY(10.0f);
  Aim(*laser, 1.0f, 1.0f);
  laser->SetAction(2);
}

bool DemonLifeOver() { return IsLifeOver(DemonLife); }

// --- "Tenma" ---

// The final boss's single shot of a state, fired once per visit on its frame.
void FireSingleShot(const quor::Sprite& boss, int8_t frame, const char* name, float offsetX,
                    float offsetY) {
  if (boss.GetFrame() != frame || AttackFired != 0) return;
  if (quor::Sprite* shot =
          FireCopyOf(name, boss, offsetX, offsetY, WhenLayerFull::kFireTheOriginal))
    Aim(*shot, 1.0f, 1.0f);
  AttackFired = 1;
}

bool TenmaLifeOver() { return IsLifeOver(TenmaLife); }

}  // namespace

void DemonFireEnter(quor::Sprite& boss) { StartAction(boss, kDemonBase); }
void DemonFireUpdate(quor::Sprite& boss) { DemonKeepsFighting(boss); }
void DemonFireAgnEnter(quor::Sprite& boss) { StartAction(boss, kDemonBase); }
void DemonFireAgnUpdate(quor::Sprite& boss) { DemonKeepsFighting(boss); }

void DemonSpitEnter(quor::Sprite& boss) {
  StartAction(boss, kDemonBreath);
  AttackFired = 0;
}

void DemonSpitUpdate(quor::Sprite& boss) {
  Position aim = SignsTowardHero(boss);
  if (boss.GetFrame() == kSpitFrame && AttackFired == 0) {
    if (quor::Sprite* barf =
            FireCopyOf("Barf", boss, 21.0f, 25.0f, WhenLayerFull::kFireTheOriginal))
      Aim(*barf, aim.x, aim.y);
    AttackFired = 1;
  }
  DemonKeepsFighting(boss);
}

void DemonZapEnter(quor::Sprite& boss) { StartAction(boss, kDemonBeam); }

void DemonZapUpdate(quor::Sprite& boss) {
  if (boss.GetFrame() == kZapFrame) {
    HoldLaserAtBoss("Laser1", boss, 35.0f);
    HoldLaserAtBoss("Laser2", boss, 28.0f);
  }
  DemonKeepsFighting(boss);
}

void DemonDeadEnter(quor::Sprite& boss) {
  StartAction(boss, kDemonDeath);
  Aim(boss, 0.0f, 0.0f);
}

void DemonDeadUpdate(quor::Sprite& boss) {
  if (boss.IsActionFinished(kDemonDeath)) DemonDies(boss);
}

bool DemonFireToDeadCondition(quor::Sprite&) { return DemonLifeOver(); }
bool DemonFireToZapCondition(quor::Sprite& boss) { return boss.IsActionFinished(kDemonBase); }
bool DemonFireAgnToDeadCondition(quor::Sprite&) { return DemonLifeOver(); }
bool DemonFireAgnToSpitCondition(quor::Sprite& boss) { return boss.IsActionFinished(kDemonBase); }
bool DemonSpitToDeadCondition(quor::Sprite&) { return DemonLifeOver(); }
bool DemonSpitToFireCondition(quor::Sprite& boss) { return boss.IsActionFinished(kDemonBreath); }
bool DemonZapToDeadCondition(quor::Sprite&) { return DemonLifeOver(); }
bool DemonZapToFireAgnCondition(quor::Sprite& boss) { return boss.IsActionFinished(kDemonBeam); }

void TenmaStartEnter(quor::Sprite& boss) { StartAction(boss, kTenmaAppear); }

void TenmaLaserEnter(quor::Sprite& boss) {
  StartAction(boss, kTenmaBeam);
  AttackFired = 0;
}

void TenmaLaserUpdate(quor::Sprite& boss) {
  FireSingleShot(boss, kLaserFrame, "Tlaser", 4.0f, 28.0f);
  LoseLifeToBlast(boss, TenmaLife);
}

void TenmaBlobEnter(quor::Sprite& boss) {
  StartAction(boss, kTenmaBlast);
  AttackFired = 0;
}

void TenmaBlobUpdate(quor::Sprite& boss) {
  FireSingleShot(boss, kBlobFrame, "Tblob", 32.0f, 23.0f);
  LoseLifeToBlast(boss, TenmaLife);
}

void TenmaBallEnter(quor::Sprite& boss) {
  StartAction(boss, kTenmaAttack);
  AttackFired = 0;
}

void TenmaBallUpdate(quor::Sprite& boss) {
  Position aim = SignsTowardHero(boss);
  int32_t height = static_cast<int32_t>(HeroPosition().y - boss.GetY());
  if (std::abs(height) < kLevelWithHero) aim = Position{-1.0f, 0.0f};
  if (BallIsDue(boss)) {
    if (quor::Sprite* ball =
            FireCopyOf("Tball", boss, 35.0f, 25.0f, WhenLayerFull::kFireTheOriginal))
      Aim(*ball, aim.x, aim.y);
  }
  LoseLifeToBlast(boss, TenmaLife);
}

void TenmaDeadEnter(quor::Sprite& boss) { StartAction(boss, kTenmaCloud); }

void TenmaDeadUpdate(quor::Sprite& boss) {
  if (boss.IsActionFinished(kTenmaCloud)) Kill(boss);
}

bool TenmaStartToLaserCondition(quor::Sprite& boss) { return boss.IsActionFinished(kTenmaAppear); }
bool TenmaLaserToDeadCondition(quor::Sprite&) { return TenmaLifeOver(); }
bool TenmaLaserToBlobCondition(quor::Sprite& boss) { return boss.IsActionFinished(kTenmaBeam); }
bool TenmaBlobToDeadCondition(quor::Sprite&) { return TenmaLifeOver(); }
bool TenmaBlobToBallCondition(quor::Sprite& boss) { return boss.IsActionFinished(kTenmaBlast); }
bool TenmaBallToDeadCondition(quor::Sprite&) { return TenmaLifeOver(); }
bool TenmaBallToLaserCondition(quor::Sprite& boss) { return boss.IsActionFinished(kTenmaAttack); }

void BuildDemonMachine(quor::StateMachine& machine) {
  static constexpr StateRow kDemon[5] = {
      {"Fire", OnBoss<DemonFireEnter>, OnBoss<DemonFireUpdate>, kDemonZap,
       IfBoss<DemonFireToZapCondition>, IfBoss<DemonFireToDeadCondition>},
      {"FireAgn", OnBoss<DemonFireAgnEnter>, OnBoss<DemonFireAgnUpdate>, kDemonSpit,
       IfBoss<DemonFireAgnToSpitCondition>, IfBoss<DemonFireAgnToDeadCondition>},
      {"Spit", OnBoss<DemonSpitEnter>, OnBoss<DemonSpitUpdate>, kDemonFire,
       IfBoss<DemonSpitToFireCondition>, IfBoss<DemonSpitToDeadCondition>},
      {"Zap", OnBoss<DemonZapEnter>, OnBoss<DemonZapUpdate>, kDemonFireAgn,
       IfBoss<DemonZapToFireAgnCondition>, IfBoss<DemonZapToDeadCondition>},
      {"Dead", OnBoss<DemonDeadEnter>, OnBoss<DemonDeadUpdate>, 0, nullptr, nullptr},
  };
  BuildMachine(machine, kDemon, kDemonDead);
}

void BuildTenmaMachine(quor::StateMachine& machine) {
  static constexpr StateRow kTenma[5] = {
      {"Start", OnBoss<TenmaStartEnter>, nullptr, kTenmaLaser, IfBoss<TenmaStartToLaserCondition>,
       nullptr},
      {"Laser", OnBoss<TenmaLaserEnter>, OnBoss<TenmaLaserUpdate>, kTenmaBlob,
       IfBoss<TenmaLaserToBlobCondition>, IfBoss<TenmaLaserToDeadCondition>},
      {"Blob", OnBoss<TenmaBlobEnter>, OnBoss<TenmaBlobUpdate>, kTenmaBall,
       IfBoss<TenmaBlobToBallCondition>, IfBoss<TenmaBlobToDeadCondition>},
      {"Ball", OnBoss<TenmaBallEnter>, OnBoss<TenmaBallUpdate>, kTenmaLaser,
       IfBoss<TenmaBallToLaserCondition>, IfBoss<TenmaBallToDeadCondition>},
      {"Dead", OnBoss<TenmaDeadEnter>, OnBoss<TenmaDeadUpdate>, 0, nullptr, nullptr},
  };
  BuildMachine(machine, kTenma, kTenmaDead);
}

}  // namespace game
