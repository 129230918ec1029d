// The two bosses' template state machines, entries 0 ("Demon") and 1 ("Tenma") of the
// state-machine table; boss sprites run copies of them, one tick a frame, before their
// animation, contacts and move of that frame.
//
// "Demon" attacks in the cycle "Fire", "Zap", "FireAgn", "Spit"; "Tenma" opens with
// "Start" and then cycles "Laser", "Blob", "Ball". Each attack state lasts one play of its
// action and leads to "Dead" as soon as the boss's life is spent; that test comes first.
#pragma once

#include <cstdint>

namespace quor {
class Sprite;
class StateMachine;
}  // namespace quor

namespace game {

constexpr int32_t kStateMachineCount = 2;
constexpr int32_t kDemonMachine = 0;
constexpr int32_t kTenmaMachine = 1;

// The states, numbered as the machines number them.
enum DemonState : uint32_t { kDemonFire = 1, kDemonFireAgn, kDemonSpit, kDemonZap, kDemonDead };
enum TenmaState : uint32_t { kTenmaStart = 1, kTenmaLaser, kTenmaBlob, kTenmaBall, kTenmaDead };

// Each makes the machine into `machine`, in its initial state.
void BuildDemonMachine(quor::StateMachine& machine);
void BuildTenmaMachine(quor::StateMachine& machine);

// The state functions, each taking the boss.
void DemonFireEnter(quor::Sprite& boss);
void DemonFireUpdate(quor::Sprite& boss);
void DemonFireAgnEnter(quor::Sprite& boss);
void DemonFireAgnUpdate(quor::Sprite& boss);
void DemonSpitEnter(quor::Sprite& boss);
void DemonSpitUpdate(quor::Sprite& boss);
void DemonZapEnter(quor::Sprite& boss);
void DemonZapUpdate(quor::Sprite& boss);
void DemonDeadEnter(quor::Sprite& boss);
void DemonDeadUpdate(quor::Sprite& boss);

bool DemonFireToDeadCondition(quor::Sprite& boss);
bool DemonFireToZapCondition(quor::Sprite& boss);
bool DemonFireAgnToDeadCondition(quor::Sprite& boss);
bool DemonFireAgnToSpitCondition(quor::Sprite& boss);
bool DemonSpitToDeadCondition(quor::Sprite& boss);
bool DemonSpitToFireCondition(quor::Sprite& boss);
bool DemonZapToDeadCondition(quor::Sprite& boss);
bool DemonZapToFireAgnCondition(quor::Sprite& boss);

void TenmaStartEnter(quor::Sprite& boss);
void TenmaLaserEnter(quor::Sprite& boss);
void TenmaLaserUpdate(quor::Sprite& boss);
void TenmaBlobEnter(quor::Sprite& boss);
void TenmaBlobUpdate(quor::Sprite& boss);
void TenmaBallEnter(quor::Sprite& boss);
void TenmaBallUpdate(quor::Sprite& boss);
void TenmaDeadEnter(quor::Sprite& boss);
void TenmaDeadUpdate(quor::Sprite& boss);

bool TenmaStartToLaserCondition(quor::Sprite& boss);
bool TenmaLaserToDeadCondition(quor::Sprite& boss);
bool TenmaLaserToBlobCondition(quor::Sprite& boss);
bool TenmaBlobToDeadCondition(quor::Sprite& boss);
bool TenmaBlobToBallCondition(quor::Sprite& boss);
bool TenmaBallToDeadCondition(quor::Sprite& boss);
bool TenmaBallToLaserCondition(quor::Sprite& boss);

}  // namespace game
