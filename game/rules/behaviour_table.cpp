#include "engine/core/class_record.h"
#include "engine/core/node.h"
#include "engine/scene/game_tables.h"
#include "engine/scene/sprite.h"
#include "game/rules/behaviour_helpers.h"
#include "game/rules/behaviours.h"

namespace game {

namespace {

// The engine hands a behaviour the object it drives as a Node. Every behaviour of the game
// drives a sprite; a damaged saved game could give one to a map or a text box, which is
// then left alone.
template <void (*Behaviour)(quor::Sprite&)>
void DriveSprite(quor::Node* owner) {
  if (quor::Sprite* sprite = AsSprite(owner)) Behaviour(*sprite);
}

// Index order is the order sprites select them by.
constexpr quor::BehaviourFunction kBehaviours[kBehaviourCount] = {
    DriveSprite<MellonMan1Behaviour>,      // 0
    DriveSprite<FireBallBehaviour>,        // 1
    DriveSprite<MellonMan2Behaviour>,      // 2
    DriveSprite<MellonMan3Behaviour>,      // 3
    DriveSprite<MellonMan4Behaviour>,      // 4
    DriveSprite<HatBehaviour>,             // 5
    DriveSprite<KeyBehaviour>,             // 6
    DriveSprite<PlayerBehaviour>,          // 7
    DriveSprite<FireIconBehaviour>,        // 8
    DriveSprite<WaterIconBehaviour>,       // 9
    DriveSprite<DaggerBehaviour>,          // 10
    DriveSprite<BootBehaviour>,            // 11
    DriveSprite<FireBlastBehaviour>,       // 12
    DriveSprite<MeatBehaviour>,            // 13
    DriveSprite<HeartsBehaviour>,          // 14
    DriveSprite<DoorBehaviour>,            // 15
    DriveSprite<TitleBehaviour>,           // 16
    DriveSprite<ContinueBehaviour>,        // 17
    DriveSprite<SecretDoorBehaviour>,      // 18
    DriveSprite<HelmitBehaviour>,          // 19
    DriveSprite<CoverBehaviour>,           // 20
    DriveSprite<GlassBehaviour>,           // 21
    DriveSprite<InstructBehaviour>,        // 22
    DriveSprite<FinalLevelDoorBehaviour>,  // 23
    DriveSprite<WallBehaviour>,            // 24
    DriveSprite<LaserBallUpBehaviour>,     // 25
    DriveSprite<LaserBeamBehaviour>,       // 26
    DriveSprite<LaserBeamLeftBehaviour>,   // 27
    DriveSprite<LaserTrapDownBehaviour>,   // 28
    DriveSprite<LaserTrapRightBehaviour>,  // 29
    DriveSprite<StageIntroBehaviour>,      // 30
    DriveSprite<DemonFireBehaviour>,       // 31
    DriveSprite<DemonLifeBarBehaviour>,    // 32
    DriveSprite<IntroBehaviour>,           // 33
    DriveSprite<BallBehaviour>,            // 34
    DriveSprite<BossLaserBehaviour>,       // 35
    DriveSprite<BarfBehaviour>,            // 36
    DriveSprite<TballBehaviour>,           // 37
    DriveSprite<TlaserBehaviour>,          // 38
    DriveSprite<TblobBehaviour>,           // 39
    DriveSprite<TenmaLifeBarBehaviour>,    // 40
    DriveSprite<RestartBehaviour>,         // 41
    DriveSprite<FinalDoorFallBehaviour>,   // 42
};

}  // namespace

void FillBehaviourTable() {
  for (int32_t i = 0; i < kBehaviourCount; ++i) quor::BehaviourTable[i] = kBehaviours[i];
}

}  // namespace game
